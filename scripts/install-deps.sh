#!/usr/bin/env bash
# Installs the Debian packages that building and testing Quorlin need.
# Idempotent: packages already installed are left alone, and apt-get runs
# only when something is missing.
set -euo pipefail

packages=(
  cmake g++ ninja-build ccache pkg-config
  libgtest-dev
  python3 unrtf bc time
  # The desktop program and its tests; xvfb, xauth and imagemagick take the
  # screenshots, fonts-dejavu-core gives the offscreen tests readable fonts.
  qt6-base-dev xvfb xauth imagemagick fonts-dejavu-core
  # pdftotext and pdfinfo read back printed pages in the tests.
  poppler-utils
  # The fuzz targets (libFuzzer), and the checks of the installed files.
  clang libclang-rt-14-dev desktop-file-utils man-db groff-base git
  # cpack -G DEB: dpkg-shlibdeps finds the packages the programs need.
  dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
