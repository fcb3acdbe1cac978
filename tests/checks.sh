# The checks of the shell tests, sourced by each: a scratch folder $tmp that
# goes at exit (read-only parts too), a failure count, and a summary line.
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
failures=0

fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}
contains() { # name, file, text
  grep -qF -- "$3" "$2" || fail "$1: $2 lacks [$3]"
}
lacks() { # name, file, text
  ! grep -qF -- "$3" "$2" || fail "$1: $2 holds [$3]"
}
check() { # name, expected status, command...: output in $tmp/out and $tmp/err
  local name="$1" want="$2"
  shift 2
  "$@" >"$tmp/out" 2>"$tmp/err"
  local got=$?
  if [ "$got" -ne "$want" ]; then
    fail "$name: exit $got, expected $want"
    sed 's/^/  stderr: /' "$tmp/err" | head -5
  fi
}
finish() { # what was checked
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all $1 checks passed"
}
