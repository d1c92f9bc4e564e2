#!/usr/bin/env bash
# Draws the display's two warning lamps with ImageMagick:
#   lamp_fuel.png  an amber lamp on a transparent background (alpha);
#   lamp_gear.png  a red lamp on pure magenta, which the image table's
#                  colour key makes transparent.
set -euo pipefail
cd "$(dirname "$0")"
font="$(fc-match -f '%{file}' 'Liberation Sans:bold')"
convert -size 64x32 xc:none \
  -fill '#3a2a00' -stroke '#000000' -strokewidth 2 -draw 'roundrectangle 1,1 62,30 8,8' \
  -fill '#ffb000' -stroke none -draw 'roundrectangle 4,4 59,27 6,6' \
  -fill '#ffe080' -draw 'roundrectangle 8,6 55,12 3,3' \
  -font "$font" -pointsize 14 -fill '#201000' -gravity center -annotate +0+2 'FUEL' \
  -depth 8 -define png:color-type=6 lamp_fuel.png
convert +antialias -size 64x32 xc:'#ff00ff' \
  -fill '#400000' -stroke '#000000' -strokewidth 2 -draw 'circle 14,16 14,3' \
  -fill '#ff2020' -stroke none -draw 'circle 14,16 14,6' \
  -fill '#ff9090' -draw 'circle 11,12 11,9' \
  -fill '#ffffff' -draw 'rectangle 29,8 62,24' \
  -font "$font" -pointsize 11 -fill '#000000' -gravity northwest -annotate +31+9 'GEAR' \
  -depth 8 -define png:color-type=2 lamp_gear.png
