#!/bin/sh
# The desktop program starts without ostrel.ini beside it: it creates the file and keeps running
# until it is stopped. Run on the offscreen platform, from a copy in a folder of its own.
set -eu
program="$1"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/ostrel"
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$folder/ostrel" || status=$?
if [ "$status" -ne 124 ]; then
  echo "ostrel ended with status $status instead of running until stopped" >&2
  exit 1
fi
grep -q '^scyl=cylinder' "$folder/ostrel.ini"
grep -q "^diri=$folder" "$folder/ostrel.ini"
echo "ostrel started and created $folder/ostrel.ini"
