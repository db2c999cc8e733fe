#!/usr/bin/env bash
# Draws the program's icon (a sun behind a cloud, with a radio mast sending)
# with ImageMagick, into meteo-aprs.png (256 px, the Linux icon and the
# window's) and meteo-aprs.ico (16 to 256 px, the Windows .exe's). The two
# files are kept in the repository; run this only to change the drawing.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 256x256 xc:none \
  -fill '#1f5fa8' -draw 'roundrectangle 8,8 247,247 40,40' \
  -fill '#3d8be0' -draw 'roundrectangle 8,8 247,140 40,40' \
  -fill '#ffc629' -draw 'circle 96,96 96,44' \
  -fill white -draw 'circle 90,150 90,120' -draw 'circle 138,128 138,86' \
  -draw 'circle 182,152 182,124' -draw 'roundrectangle 60,140 210,182 20,20' \
  -stroke white -strokewidth 10 -fill none \
  -draw 'line 206,238 206,214' \
  -strokewidth 7 -draw 'arc 192,200 220,228 215,325' -draw 'arc 180,188 232,240 220,320' \
  meteo-aprs.png
convert meteo-aprs.png -define icon:auto-resize=256,64,48,32,16 meteo-aprs.ico
