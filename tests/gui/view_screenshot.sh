#!/bin/sh
# `ostrel --view FILE.off --screenshot OUT.png` paints the model into a PNG without a display and
# exits 0; a file it cannot read or a model too large to draw gives its message on stderr and exit
# status 1, a --rotate of no finite numbers exit status 2, and neither writes a picture.
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
printf 'OFF\n3 1 0\n1e300 0 0\n0 1 0\n0 0 1\n3 0 1 2\n' >"$folder/far.off"
status=0
"$program" --view "$folder/far.off" --screenshot "$folder/y.png" 2>"$folder/err" || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status for a model at 1e300" >&2; exit 1; }
grep -q 'too large to draw' "$folder/err"
status=0
"$program" --view "$example" --screenshot "$folder/y.png" --rotate nan,nan 2>"$folder/err" || status=$?
[ "$status" -eq 2 ] || { echo "exit status $status for --rotate nan,nan" >&2; exit 1; }
grep -q 'finite numbers' "$folder/err"
[ ! -e "$folder/y.png" ]
echo "ostrel --view painted $example"
