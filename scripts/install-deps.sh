#!/usr/bin/env bash
# Installs the Debian packages that Ostrel's build and tests need, skipping those present, and the
# Khronos glTF validator (npm) into tools/gltf-validator/node_modules, and the de_DE.UTF-8 locale
# the desktop tests run under once (a decimal comma).
# `apt-get update` runs only when something is missing. Set OSTREL_WITH_FUZZ=1 to add clang.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ make
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  qt6-base-dev qt6-svg-dev  # the desktop program (Qt SVG shows the nets)
  librsvg2-bin   # rsvg-convert, the SVG renderer the tests draw every net with
  view3dscene    # tovrmlx3d, the VRML 2.0 reader the tests check every written file with
  libtinygltf-dev nlohmann-json3-dev  # the glTF writer and the run's JSON report
  libeigen3-dev  # the sparse least squares of the robust starts
  dpkg-dev file  # `cpack -G DEB` finds the package's dependencies with dpkg-shlibdeps
  locales        # de_DE.UTF-8, below
)
# Node.js runs the glTF validator of the tests; a Node.js from elsewhere (with its own npm) will do.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  packages+=(nodejs npm)
fi
if [[ "${OSTREL_WITH_FUZZ:-0}" == 1 ]]; then
  packages+=(clang libclang-rt-dev)
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: every Debian package is installed"
else
  echo "install-deps: installing ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The validator, at the version package-lock.json pins, inside the project (never globally).
validator=tools/gltf-validator
if ! npm ls --prefix "$validator" gltf-validator >/dev/null 2>&1; then
  echo "install-deps: installing the glTF validator into $validator"
  npm ci --prefix "$validator" --no-audit --no-fund
fi

# A locale with a decimal comma for the desktop tests (made once; needs the locales package).
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "install-deps: making the de_DE.UTF-8 locale"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi
