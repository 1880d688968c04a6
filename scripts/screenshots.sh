#!/usr/bin/env bash
# Pictures of the desktop program's windows, for the documentation.
#
# Starts a virtual X display (Xvfb), takes the main window of `ostrel` itself with ImageMagick's
# `import` (found with xwininfo), then runs `ostrel_screenshots`, which shows every other window
# in turn on the same display (the progress window during a real run) and saves what the display
# shows of it.
# The PNGs go to docs/screenshots/ (or the folder given as the first argument).
#
#   bash scripts/screenshots.sh [OUTPUT_FOLDER]
#
# Installs xvfb, imagemagick and x11-utils with apt-get when they are missing. BUILD names the build folder
# (build-gui by default); JOBS the build's parallel jobs (2).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$here/docs/screenshots}")
build="${BUILD:-$here/build-gui}"
jobs="${JOBS:-2}"

missing=()
for package in xvfb imagemagick x11-utils; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if ((${#missing[@]} > 0)); then
  echo "screenshots: installing ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja -DOSTREL_BUILD_GUI=ON -DOSTREL_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j "$jobs" --target ostrel ostrel_screenshots

mkdir -p "$out"
work=$(mktemp -d)
display_number=99
while [[ -e "/tmp/.X${display_number}-lock" ]]; do display_number=$((display_number + 1)); done
export DISPLAY=":${display_number}"
Xvfb "$DISPLAY" -screen 0 1400x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
program_pid=""
cleanup() {
  if [[ -n "$program_pid" ]]; then kill "$program_pid" 2>/dev/null || true; fi
  kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do
  [[ -e "/tmp/.X11-unix/X${display_number}" ]] && break
  sleep 0.1
done
export QT_QPA_PLATFORM=xcb

# The program itself, from a copy in a folder of its own, so that it starts without ostrel.ini.
cp "$build/src/gui/ostrel" "$work/ostrel"
"$work/ostrel" &
program_pid=$!
sleep 3
# The main window is the one of class "ostrel" (Qt's helper windows share its title).
window=$(xwininfo -root -tree | awk '/\("ostrel" "Ostrel"\)/ {print $1; exit}')
import -window "$window" "$out/intro_program.png"
echo "saved $out/intro_program.png"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""
test -f "$work/ostrel.ini" && echo "ostrel created its settings file at start"

# Every window, one after the other.
"$build/tests/gui/ostrel_screenshots" "$out"
