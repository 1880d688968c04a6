#!/bin/sh
# `ostrel --view FILE.off --screenshot OUT.png` paints the model into a PNG without a display and
# exits 0; a file it cannot read gives its message on stderr and exit status 1.
set -eu
program="$1"
example="$2"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY \
  "$program" --view "$example" --screenshot "$folder/x.png" --size 120x90 --rotate 10,-5
# The PNG signature, then the IHDR chunk's width and height: 120 (0x78) and 90 (0x5a).
header=$(od -An -tx1 -N24 "$folder/x.png" | tr -d ' \n')
[ "$header" = "89504e470d0a1a0a0000000d49484452000000780000005a" ] || {
  echo "not a 120x90 PNG: $header" >&2
  exit 1
}
printf 'OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 9\n' >"$folder/bad.off"
status=0
"$program" --view "$folder/bad.off" --screenshot "$folder/y.png" 2>"$folder/err" || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status for a bad file" >&2; exit 1; }
grep -q 'vertex index 9 is out of range 0..2' "$folder/err"
[ ! -e "$folder/y.png" ]
echo "ostrel --view painted $example"
