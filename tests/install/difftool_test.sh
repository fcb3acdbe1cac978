#!/usr/bin/env bash
# git difftool with Quorlin: the helper script gives git's OLD and NEW to
# quorlin-cli (or the desktop program) as NEW and OLD, and tells git about
# errors only.
# usage: difftool_test.sh PATH-TO-git-difftool-quorlin PATH-TO-quorlin-cli
set -u
script="$1"
cli="$2"
. "$(dirname "$0")/../checks.sh"

# The programs are taken from QUORLIN_BIN: the folder of the quorlin-cli
# under test.
export QUORLIN_BIN
QUORLIN_BIN=$(cd "$(dirname "$cli")" && pwd)
export GIT_CONFIG_NOSYSTEM=1 HOME="$tmp/home"
unset QUORLIN_DIFFTOOL
mkdir -p "$HOME"
repo="$tmp/repo"
git init -q "$repo"
cd "$repo" || exit 1
git config user.name "Quorlin Test"
git config user.email "test@example.invalid"
git config difftool.quorlin.cmd "'$script' --path \"\$MERGED\" -t long \"\$LOCAL\" \"\$REMOTE\""
printf 'first line\nsecond line\nthird line\n' >notes.txt
git add notes.txt
git commit -q -m "notes"
printf 'first line\nsecond line, changed\nthird line\n' >notes.txt

# The working tree is NEW: its line is inserted, the committed one deleted.
check changed 0 git difftool --no-prompt --tool=quorlin
contains changed "$tmp/out" "I - second line, changed"
contains changed "$tmp/out" "D - second line "
lacks changed "$tmp/out" "I - second line "
contains changed "$tmp/out" "New File = notes.txt"
contains changed "$tmp/out" "Old File = notes.txt" # the repository path, not git's temporary copy
# Files that differ are no error, even when git trusts the exit status.
check trusted 0 git difftool --no-prompt --trust-exit-code --tool=quorlin
contains trusted "$tmp/out" "INFORM: The processed files have differences."

# An error is passed on: the script's status is 2, and git difftool stops
# with a status of its own.
check error 2 "$script" -t wide notes.txt notes.txt
git config difftool.quorlinbad.cmd "'$script' -t wide \"\$LOCAL\" \"\$REMOTE\""
git difftool --no-prompt --trust-exit-code --tool=quorlinbad >"$tmp/out" 2>"$tmp/err" &&
  fail "error: git difftool --trust-exit-code ended with status 0"
contains error "$tmp/err" "unknown listing type"

# An added file has no OLD side (git names /dev/null): every line is inserted.
printf 'alpha\nbeta\n' >added.txt
git add added.txt
check added 0 git difftool --no-prompt --trust-exit-code --cached --tool=quorlin -- added.txt
contains added "$tmp/out" "I - alpha"
contains added "$tmp/out" "I - beta"
check help 0 "$script" --help
contains help "$tmp/out" "usage: quorlin-difftool"

# Option operands with blanks reach quorlin-cli whole; a file name that
# begins with "-" is not taken for an option.
printf 'x\nEND\ny\n' >"$tmp/-old.txt"
printf 'x\ny\n' >"$tmp/new.txt"
(cd "$tmp" && "$script" -d "dps1 end" -old.txt new.txt >"$tmp/out" 2>"$tmp/err") ||
  fail "operands: exit status"
contains operands "$tmp/out" "OPTIONS = Dps1"
contains operands "$tmp/err" "equivalent"

# The desktop program: called as "quorlin --start NEW OLD", chosen by --gui
# or QUORLIN_DIFFTOOL=gui; its status 1 is no error either.
mkdir -p "$tmp/fake"
cat >"$tmp/fake/quorlin" <<'EOF'
#!/bin/sh
printf '%s\n' "$@" >"$(dirname "$0")/args"
exit 1
EOF
chmod +x "$tmp/fake/quorlin"
printf 'x\n' >"$tmp/old.txt"
check gui 0 env QUORLIN_BIN="$tmp/fake" "$script" --gui "$tmp/old.txt" "$tmp/new.txt"
printf -- '--start\n%s\n%s\n' "$tmp/new.txt" "$tmp/old.txt" >"$tmp/want"
cmp -s "$tmp/want" "$tmp/fake/args" || fail "gui: called with $(tr '\n' ' ' <"$tmp/fake/args")"
rm -f "$tmp/fake/args"
check gui-env 0 env QUORLIN_BIN="$tmp/fake" QUORLIN_DIFFTOOL=gui "$script" "$tmp/old.txt" "$tmp/new.txt"
cmp -s "$tmp/want" "$tmp/fake/args" || fail "gui-env: the desktop program was not called as wanted"
check gui-options 2 env QUORLIN_BIN="$tmp/fake" "$script" --gui -t long "$tmp/old.txt" "$tmp/new.txt"

finish difftool
