#!/usr/bin/env bash
# Draws the picture at the left of the wizard window (119 x 227 pixels): a
# TV set with a recording dot above a clock, on a blue gradient. Run it after
# changing the drawing and commit the PNG; the build only embeds the file.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 119x227 gradient:'#0c2657'-'#3f94d6' \
    -fill none -stroke '#ffffff30' -strokewidth 1 \
    -draw 'circle 59,170 59,110' -draw 'circle 59,170 59,90' \
    -stroke '#e8eef8' -strokewidth 2 \
    -draw 'line 46,22 59,38' -draw 'line 74,18 59,38' \
    -fill '#1b1f2a' -stroke '#e8eef8' -strokewidth 2 \
    -draw 'roundrectangle 14,38 105,104 9,9' \
    -fill '#8fd0ff' -stroke none \
    -draw 'roundrectangle 21,45 86,97 5,5' \
    -fill '#c9ebff' -draw 'rectangle 26,52 62,58' -draw 'rectangle 26,64 80,70' \
    -draw 'rectangle 26,76 70,82' -draw 'rectangle 26,88 56,92' \
    -fill '#e53935' -draw 'circle 96,54 96,59' \
    -fill '#e8eef8' -draw 'circle 96,72 96,74' -draw 'circle 96,82 96,84' \
    -fill '#1b1f2a' -draw 'rectangle 30,104 40,110' -draw 'rectangle 79,104 89,110' \
    -fill '#ffffff' -stroke '#1b1f2a' -strokewidth 3 \
    -draw 'circle 59,170 59,140' \
    -stroke '#1b1f2a' -strokewidth 3 -draw 'line 59,170 59,150' \
    -strokewidth 2 -draw 'line 59,170 74,176' \
    -fill '#e53935' -stroke none -draw 'circle 59,170 59,173' \
    -fill '#1b1f2a' -draw 'rectangle 58,142 60,146' -draw 'rectangle 58,194 60,198' \
    -draw 'rectangle 31,169 35,171' -draw 'rectangle 83,169 87,171' \
    -strip PNG24:wizardbild.png
