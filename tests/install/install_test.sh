#!/usr/bin/env bash
# The installed copy: cmake --install into a temporary prefix, then the files
# in their places, the installed programs at work (their guide found, their
# settings and batch log under the user's config folder when their own folder
# is read-only), the manual pages and the desktop entry.
# usage: install_test.sh BUILD-DIR WITH-DESKTOP-PROGRAM(0|1)
set -u
build="$1"
gui="${2:-1}"
. "$(dirname "$0")/../checks.sh"
chmod 755 "$tmp"
prefix="$tmp/prefix"

status_is() { # name, expected, actual
  [ "$3" -eq "$2" ] || fail "$1: exit $3, expected $2"
}

if ! cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
  sed 's/^/  /' "$tmp/install.log"
  echo "FAIL cmake --install"
  exit 1
fi

# --- Files in their places.
expected=(bin/quorlin-cli bin/quorlin-difftool share/man/man1/quorlin-cli.1
          share/doc/quorlin/user-guide.md)
if [ "$gui" = 1 ]; then
  expected+=(bin/quorlin share/man/man1/quorlin.1 share/applications/quorlin.desktop
             share/icons/hicolor/scalable/apps/quorlin.svg)
fi
for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || fail "installed: $f missing"
done
programs=(bin/quorlin-cli bin/quorlin-difftool)
[ "$gui" = 1 ] && programs+=(bin/quorlin)
for f in "${programs[@]}"; do
  [ -x "$prefix/$f" ] || fail "installed: $f is not executable"
done
# The desktop program looks for its guide in <bin>/../share/doc/quorlin; every
# picture the guide shows must be beside it, at the path the guide names.
guide="$prefix/share/doc/quorlin/user-guide.md"
pictures=$(grep -o '](screenshots/[^)]*)' "$guide" | sed 's/^](//; s/)$//' | sort -u)
[ -n "$pictures" ] || fail "guide: no screenshots referenced"
for p in $pictures; do
  [ -f "$prefix/share/doc/quorlin/$p" ] || fail "guide: $p not installed beside the guide"
done

# --- The installed quorlin-cli compares.
printf 'alpha\nbeta\ngamma\n' >"$tmp/a.txt"
printf 'alpha\nbeta\ngamma\n' >"$tmp/b.txt"
printf 'alpha\nBETA\ngamma\n' >"$tmp/c.txt"
cli="$prefix/bin/quorlin-cli"
"$cli" "$tmp/a.txt" "$tmp/b.txt" >"$tmp/out" 2>"$tmp/err"
status_is cli-equivalent 0 $?
contains cli-equivalent "$tmp/err" "compare as equivalent"
"$cli" -t long "$tmp/c.txt" "$tmp/a.txt" >"$tmp/out" 2>"$tmp/err"
status_is cli-differ 1 $?
contains cli-differ "$tmp/out" "I - BETA"
contains cli-differ "$tmp/out" "D - beta"
"$cli" "$tmp/none.txt" "$tmp/a.txt" >"$tmp/out" 2>"$tmp/err"
status_is cli-missing 2 $?
# The installed difftool helper finds quorlin-cli beside itself and gives
# git 0 for files that differ.
PATH=/usr/bin:/bin "$prefix/bin/quorlin-difftool" "$tmp/a.txt" "$tmp/c.txt" >"$tmp/out" 2>"$tmp/err"
status_is difftool 0 $?
contains difftool "$tmp/out" "I - BETA"

# --- Settings and the batch log of an installed copy whose folder is
# read-only: they go to the user's config folder.
home="$tmp/home"
mkdir -p "$home"
printf 'newf=%s\noldf=%s\noutf=%s\npref=nosw\n' "$tmp/c.txt" "$tmp/a.txt" "$tmp/batch.lst" >"$tmp/job.ini"
chmod -R a-w "$prefix"
as_user=()
config="$home/.config/quorlin" # where the batch log is due
if [ "$(id -u)" -eq 0 ]; then
  # root writes to read-only folders: run the programs as nobody instead.
  if setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    chown 65534:65534 "$home"
    chmod 777 "$tmp"
  else
    echo "SKIP read-only prefix: running as root and cannot run as another user;" \
         "the batch log is checked beside the program"
    config="$prefix/bin"
  fi
fi
if [ "$(id -u)" -ne 0 ] || [ ${#as_user[@]} -ne 0 ]; then
  if "${as_user[@]}" test -w "$prefix/bin"; then
    fail "read-only prefix: $prefix/bin is still writable"
  fi
fi
run() { # the command, as the test user, with HOME and no other settings folder
  env -u QUORLIN_HOME -u XDG_CONFIG_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "${as_user[@]}" "$@"
}
if [ "$gui" = 1 ]; then
  run timeout 120 "$prefix/bin/quorlin" "inif=$tmp/job.ini" >"$tmp/out" 2>"$tmp/err"
  status_is gui-batch 1 $?
  contains gui-batch "$config/Quorln32.log" "Batch Activity using Ini File=$tmp/job.ini"
  contains gui-batch "$tmp/batch.lst" "I - BETA"
fi
# quorlin-cli takes $XDG_CONFIG_HOME before ~/.config.
[ "$config" = "$prefix/bin" ] || config="$home/xdg/quorlin"
run env XDG_CONFIG_HOME="$home/xdg" "$cli" "inif=$tmp/job.ini" >"$tmp/out" 2>"$tmp/err"
status_is cli-batch 1 $?
contains cli-batch "$config/Quorln32.log" "Batch Activity using Ini File=$tmp/job.ini"
if [ "$config" != "$prefix/bin" ]; then
  [ ! -e "$prefix/bin/Quorln32.log" ] || fail "read-only prefix: the batch log was written beside the program"
fi
chmod -R u+w "$prefix"

# --- The manual pages render without warnings and cover the programs.
pages=(quorlin-cli)
[ "$gui" = 1 ] && pages+=(quorlin)
for page in "${pages[@]}"; do
  file="$prefix/share/man/man1/$page.1"
  warnings=$(groff -man -ww -z "$file" 2>&1)
  [ -z "$warnings" ] || fail "man $page: groff warns: $warnings"
  warnings=$(MANWIDTH=80 man -l "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: man -l warns: $warnings"
  MANWIDTH=80 man -l "$file" >"$tmp/$page.txt" 2>/dev/null
  contains "man $page" "$tmp/$page.txt" "EXIT STATUS"
  for word in Quorln32.ini Quorln32.log .config/quorlin QUORLIN_HOME; do
    contains "man $page" "$tmp/$page.txt" "$word"
  done
done
# quorlin-cli(1) holds every option that --help lists, every batch statement
# and every keyword a pref= or dpop= operand can start with.
"$cli" --help >"$tmp/help"
options=$(grep -oE '^ +(-[a-z]|--[a-z-]+)' "$tmp/help" | tr -d ' ')
[ -n "$options" ] || fail "man quorlin-cli: no options found in --help"
for word in $options newf= oldf= outf= ltyp= dpop= pref= /job \
            icas rovr fmvl xdpl fscl ieof lorl noss clnc sbsl nslg nwlg apnd nowt nosw ccol pcmp xtab subc \
            none dsem drem dblk ddlc ddl2 dcpp dvbc dhtm dcob dudc dud2 dps1 dps3 dpln; do
  case $word in
    *= | /*) grep -qF -- "$word" "$tmp/quorlin-cli.txt" ;;
    *) grep -qwF -- "$word" "$tmp/quorlin-cli.txt" ;;
  esac || fail "man quorlin-cli: $word not described"
done
if [ "$gui" = 1 ]; then
  for word in --start inif= NEW OLD; do
    grep -qiF -- "$word" "$tmp/quorlin.txt" || fail "man quorlin: $word not described"
  done
fi

# --- The desktop entry is valid and starts the installed program.
if [ "$gui" = 1 ]; then
  entry="$prefix/share/applications/quorlin.desktop"
  out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop entry: $out"
  contains desktop-entry "$entry" "Exec=quorlin %F"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "desktop entry: icon $icon not installed"
fi

finish install
