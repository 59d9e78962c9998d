#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages the build, the
# tests and the program need (when missing) and builds the project into build/.
# The list is checked against a bare minimal Debian 12, not against a machine
# that already holds earlier installs. Arguments name the build targets to
# build (all when none are given).
set -euo pipefail

packages=(
  # toolchain
  g++ cmake make pkg-config
  # Qt 6: Widgets, PrintSupport, Test, Charts (Charts needs the OpenGL
  # development files and does not pull them in), German catalogues for
  # Qt's own dialogs
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-l10n-tools
  qt6-translations-l10n
  # the table engine and the older engine's files
  libsqlite3-dev zlib1g-dev pxlib-dev libzip-dev
  # a font for the windows and the printouts
  fonts-dejavu-core fontconfig
)
# The tests (a build of every target) also make FUSE mounts whose daemon is
# stopped, for the test of file systems that do not answer; it is skipped
# where the machine cannot mount them.
if [ $# -eq 0 ]; then
  packages+=(bindfs fuse3)
fi

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo > /dev/null && sudo -n true 2> /dev/null; then
      sudo_cmd=(sudo -n)
    else
      sudo_cmd=(none)
    fi
  fi
  if [ "${sudo_cmd[0]:-}" = none ] \
    || ! "${sudo_cmd[@]}" apt-get update -qq \
    || ! DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
      --no-install-recommends "${missing[@]}"; then
    echo "Missing packages: ${missing[*]} -- install them as root with:" \
      "apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$root/build" -j "$(nproc)" "${targets[@]}"
