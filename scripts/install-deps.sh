#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need.
# Does nothing (and takes about a second) when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake make pkg-config ccache
  qtbase5-dev qtbase5-dev-tools libqt5svg5-dev
  libopencv-core-dev libopencv-imgproc-dev libopencv-videoio-dev
  libusb-1.0-0-dev libquazip1-qt5-dev zlib1g-dev
  libpoppler-qt5-dev libqpdf-dev poppler-utils
  libbenchmark-dev
  zip unzip ffmpeg faketime
  apache2-bin
  xvfb xauth xdotool imagemagick x11-utils libx11-dev trayer
  fonts-dejavu-core
  chromium shared-mime-info desktop-file-utils xdg-utils
  onboard
)
# The package player's libraries come from the npm registry.
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
