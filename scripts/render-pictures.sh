#!/usr/bin/env bash
# Renders the desktop program's pictures and the report's Logo.jpg from their SVG sources in
# resources/pictures/ (see resources/pictures/README.md). Needs rsvg-convert (librsvg2-bin)
# and, for the JPEG, ImageMagick's convert (imagemagick); installs them when missing.
set -euo pipefail

cd "$(dirname "$0")/.."
"$(pwd)/scripts/install-deps.sh" librsvg2-bin imagemagick
cd resources/pictures

# render SOURCE.svg WIDTH HEIGHT TARGET.png
render() {
  rsvg-convert --width "$2" --height "$3" --format png "$1" --output "$4"
}

render background.svg 100 100 background.png
render logo.svg 528 334 logo.png
render navigation.svg 128 274 navigation.png
render progress.svg 528 334 progress.png
render workbox.svg 174 70 workbox.png
render cleaning.svg 174 70 cleaning.png

render vexor-16.svg 16 16 vexor-16.png
for size in 32 48 64 128 256; do
  render vexor.svg "$size" "$size" "vexor-$size.png"
done

for icon in open-log open-data save-data print export-csv client-vars server-vars options follow help; do
  for size in 16 32; do
    render "toolbar/$icon-$size.svg" "$size" "$size" "toolbar/$icon-$size.png"
  done
done

# The report's logo: a JPEG on white, without metadata so that renders compare equal.
rsvg-convert --width 528 --height 334 --background-color white --format png report-logo.svg |
  convert png:- -strip -quality 90 -sampling-factor 4:2:0 Logo.jpg

echo "Rendered the pictures in $(pwd)"
