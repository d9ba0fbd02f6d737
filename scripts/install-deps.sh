#!/usr/bin/env bash
# Installs with apt-get whatever of the build's Debian packages is missing; does nothing when
# every one is there. Extra packages may be named on the command line.
set -euo pipefail

# The desktop program needs Qt 6 (widgets, the browser engine, SVG for saved graphs) and a font
# for its texts. The install test checks the desktop entry, the AppStream metadata and the icons
# with desktop-file-utils, appstream and file. The web site's test loads it in Chromium, driven
# by a Node script.
packages=(g++ make cmake ninja-build libgtest-dev libgmock-dev git
          qt6-base-dev qt6-webengine-dev qt6-svg-dev libgl-dev fonts-dejavu-core fonts-liberation
          desktop-file-utils appstream file chromium nodejs "$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
