#!/usr/bin/env bash
# Installs what is missing on a Debian machine: "build" for building and
# running the programs, "web" for building the browser pages, "test" for
# all of it and the tests as well.
set -euo pipefail
what=${1:-build}

web=(cmake ninja-build emscripten librsvg2-bin)
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
          qt6-multimedia-dev libcups2-dev fontconfig fonts-liberation2 fonts-dejavu-core)
if [ "$what" = test ]; then
  packages+=(xvfb xdotool imagemagick x11-utils libx11-dev poppler-utils zlib1g-dev
             cups cups-client cups-bsd cups-filters printer-driver-cups-pdf
             desktop-file-utils appstream dpkg-dev file lintian man-db
             at-spi2-core dbus-daemon dbus-bin python3-pyatspi orca python3-speechd
             qt6ct weston qt6-wayland
             "${web[@]}" chromium chromium-driver webkit2gtk-driver python3-selenium
             firefox-esr python3-websocket pulseaudio pulseaudio-utils python3-numpy)
  # npm brings the audit tools the page tests use; a Node.js that comes
  # with its own npm needs no package for it.
  command -v npm >/dev/null || packages+=(npm)
elif [ "$what" = web ]; then
  packages=("${web[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Bitte als root ausführen (fehlend: ${missing[*]})" >&2; exit 1; }
  sudo=sudo
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
# One call for all of them; dpkg without a sync after every file (some
# hundred packages on a fresh machine), as in a fresh system's install.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
  -o Dpkg::Options::=--force-unsafe-io "${missing[@]}"
