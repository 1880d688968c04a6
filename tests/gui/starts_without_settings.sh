#!/bin/sh
# The desktop program, copied into a folder of its own as an install would put it, starts without
# ostrel.ini beside it: it keeps the settings in the user's ~/.config/ostrel/ostrel.ini, starts
# the input folder at the folder it was started from, and keeps running until it is stopped.
# A portable copy, with ostrel.ini beside it, keeps using that file. --help and --version need
# no display.
set -eu
program="$1"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/bin" "$folder/home" "$folder/work"
cp "$program" "$folder/bin/ostrel"
cd "$folder/work"
unset XDG_CONFIG_HOME DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
"$folder/bin/ostrel" --help | grep -q -- '--ini <FILE>'
"$folder/bin/ostrel" --version | grep -q '^ostrel [0-9]'

start() {
  status=0
  HOME="$folder/home" QT_QPA_PLATFORM=offscreen timeout 3 "$folder/bin/ostrel" || status=$?
  if [ "$status" -ne 124 ]; then
    echo "ostrel ended with status $status instead of running until stopped" >&2
    exit 1
  fi
}
start
settings="$folder/home/.config/ostrel/ostrel.ini"
grep -q '^scyl=cylinder' "$settings"
grep -q "^diri=$folder/work" "$settings"
test ! -e "$folder/bin/ostrel.ini"

rm -r "$folder/home/.config"
printf 'diri=%s\r\nend \r\n' "$folder" > "$folder/bin/ostrel.ini"
start
test ! -e "$settings"
echo "ostrel started, kept its settings in $settings, and a portable copy its own"
