#!/usr/bin/env bash
# Builds the Debian package from a finished build folder and checks it as a user would get it:
# the package holds both programs, their man pages and the examples, and its ostrel-cli,
# extracted on its own, relaxes an example with the settings kept under $HOME/.config/ostrel.
#   bash scripts/check-package.sh [BUILD]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
(cd "$build" && cpack -G DEB)
package=$(ls -t "$build"/ostrel_*.deb | head -n 1)
dpkg-deb --field "$package" Package Version Depends

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$package" "$scratch/root"
for file in usr/bin/ostrel-cli usr/share/man/man1/ostrel-cli.1 usr/share/ostrel/examples/cube.txt \
            usr/share/doc/ostrel/LICENSE; do
  [[ -e "$scratch/root/$file" ]] || { echo "check-package: $file is missing" >&2; exit 1; }
done
mkdir "$scratch/home" "$scratch/out"
HOME="$scratch/home" XDG_CONFIG_HOME='' SOURCE_DATE_EPOCH=0 \
  "$scratch/root/usr/bin/ostrel-cli" run "$scratch/root/usr/share/ostrel/examples/cube.txt" \
  -o "$scratch/out" --seed 1 -q >/dev/null 2>"$scratch/err"
[[ -s "$scratch/out/cube.off" ]] || { echo "check-package: no cube.off written" >&2; exit 1; }
[[ -f "$scratch/home/.config/ostrel/ostrel.ini" ]] ||
  { echo "check-package: no settings file under \$HOME/.config/ostrel" >&2; exit 1; }
if grep -q "settings" "$scratch/err"; then cat "$scratch/err" >&2; exit 1; fi
echo "check-package: $package installs and its ostrel-cli relaxes an example"
