#!/usr/bin/env bash
# The installed copy: cmake --install into a temporary prefix, then the files
# in their places, the installed programs at work (their guide found, their
# settings and batch log under the user's config folder, never in their bin
# folder unless the copy is portable), the manual pages, bash completion, the
# desktop entry, and the Debian package that cpack builds of the same files.
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
expected=(bin/quorlin-cli bin/quorlin-difftool share/man/man1/quorlin-cli.1 share/man/man1/quorlin-difftool.1
          share/doc/quorlin/user-guide.md share/bash-completion/completions/quorlin-cli)
if [ "$gui" = 1 ]; then
  expected+=(bin/quorlin share/man/man1/quorlin.1 share/applications/quorlin.desktop
             share/icons/hicolor/scalable/apps/quorlin.svg share/icons/hicolor/64x64/apps/quorlin.png
             share/bash-completion/completions/quorlin)
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

# --- Settings and the batch log of an installed copy go to the user's config
# folder, even when the bin folder can be written (as root); only a portable
# copy, with a Quorln32.ini beside the program, keeps them there.
home="$tmp/home"
mkdir -p "$home"
printf 'newf=%s\noldf=%s\noutf=%s\npref=nosw\n' "$tmp/c.txt" "$tmp/a.txt" "$tmp/batch.lst" >"$tmp/job.ini"
run() { # the command with HOME and no other settings folder
  env -u QUORLIN_HOME -u XDG_CONFIG_HOME HOME="$home" "$@"
}
if [ "$gui" = 1 ]; then
  # Qt's own options come first and are no file names.
  run timeout 120 "$prefix/bin/quorlin" -style Fusion -platform offscreen "inif=$tmp/job.ini" >"$tmp/out" 2>"$tmp/err"
  status_is gui-batch 1 $?
  contains gui-batch "$home/.config/quorlin/Quorln32.log" "Batch Activity using Ini File=$tmp/job.ini"
  contains gui-batch "$tmp/batch.lst" "I - BETA"
  # --help and --version need no display.
  for option in "--help:usage: quorlin" "--version:Quorlin V5.7b"; do
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/quorlin" "${option%%:*}" >"$tmp/out" 2>"$tmp/err"
    status_is "gui ${option%%:*}" 0 $?
    contains "gui ${option%%:*}" "$tmp/out" "${option#*:}"
  done
fi
# quorlin-cli takes $XDG_CONFIG_HOME before ~/.config.
run env XDG_CONFIG_HOME="$home/xdg" "$cli" "inif=$tmp/job.ini" >"$tmp/out" 2>"$tmp/err"
status_is cli-batch 1 $?
contains cli-batch "$home/xdg/quorlin/Quorln32.log" "Batch Activity using Ini File=$tmp/job.ini"
[ ! -e "$prefix/bin/Quorln32.log" ] || fail "installed copy: the batch log was written beside the program"
touch "$prefix/bin/Quorln32.ini"
run "$cli" "inif=$tmp/job.ini" >"$tmp/out" 2>"$tmp/err"
contains portable "$prefix/bin/Quorln32.log" "Batch Activity using Ini File=$tmp/job.ini"
rm -f "$prefix/bin/Quorln32.ini" "$prefix/bin/Quorln32.log"

# --- The manual pages render without warnings and cover the programs.
pages=(quorlin-cli quorlin-difftool)
[ "$gui" = 1 ] && pages+=(quorlin)
for page in "${pages[@]}"; do
  file="$prefix/share/man/man1/$page.1"
  warnings=$(groff -man -ww -z "$file" 2>&1)
  [ -z "$warnings" ] || fail "man $page: groff warns: $warnings"
  warnings=$(MANWIDTH=80 man -l "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: man -l warns: $warnings"
  MANWIDTH=80 man -l "$file" >"$tmp/$page.txt" 2>/dev/null
  contains "man $page" "$tmp/$page.txt" "EXIT STATUS"
  [ "$page" = quorlin-difftool ] && continue
  for word in Quorln32.ini Quorln32.log .config/quorlin QUORLIN_HOME portable; do
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
for word in --path --gui --cli MERGED QUORLIN_BIN; do
  grep -qF -- "$word" "$tmp/quorlin-difftool.txt" || fail "man quorlin-difftool: $word not described"
done
if [ "$gui" = 1 ]; then
  for word in --start inif= NEW OLD --help --version -platform; do
    grep -qiF -- "$word" "$tmp/quorlin.txt" || fail "man quorlin: $word not described"
  done
fi

# --- The desktop entry is valid and starts the installed program.
if [ "$gui" = 1 ]; then
  entry="$prefix/share/applications/quorlin.desktop"
  out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop entry: $out"
  contains desktop-entry "$entry" "Exec=quorlin %F"
  lacks desktop-entry "$entry" "MimeType="
  main=$(sed -n 's/^Categories=//p' "$entry" | tr ';' '\n' |
         grep -cxE 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility')
  [ "$main" -eq 1 ] || fail "desktop entry: $main main categories, expected one"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "desktop entry: icon $icon not installed"
fi

# --- Bash completion: options, listing types and operand words.
for program in "${programs[@]}"; do
  name=$(basename "$program")
  [ "$name" = quorlin-difftool ] && continue
  bash -c ". '$prefix/share/bash-completion/completions/$name' && complete -p $name" >/dev/null 2>&1 ||
    fail "completion: $name has none"
done
words=$(bash -c ". '$prefix/share/bash-completion/completions/quorlin-cli'
  for line in '-t L' '-d dp' '--la'; do
    COMP_WORDS=(quorlin-cli \$line); COMP_CWORD=\$((\${#COMP_WORDS[@]} - 1)); _quorlin_cli; echo \${COMPREPLY[*]}
  done")
[ "$words" = $'Long\ndps1 dps2 dps3 dpln\n--layout --label-new --label-old' ] || fail "completion: quorlin-cli gave [$words]"

# --- The Debian package holds the same files under /usr and names the
# libraries the programs need.
if cpack -G DEB -B "$tmp/deb" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1; then
  deb=$(ls "$tmp"/deb/*.deb)
  dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./usr/||' >"$tmp/deb.files"
  for f in "${expected[@]}"; do
    grep -qxF "$f" "$tmp/deb.files" || fail "package: $f missing"
  done
  dpkg-deb -I "$deb" >"$tmp/deb.info"
  for field in "Package: quorlin" "Maintainer: " "Description: " "Depends: libc6"; do
    contains package "$tmp/deb.info" "$field"
  done
  [ "$gui" = 0 ] || contains package "$tmp/deb.info" "libqt6widgets6"
else
  sed 's/^/  /' "$tmp/cpack.log" | tail -20
  fail "package: cpack -G DEB failed"
fi

finish install
