#!/usr/bin/env bash
# Redraws the program's pictures (two vendor logos and the program icon) with ImageMagick.
# The PNGs are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")/../src/resources"
SANS=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
SANS_BOLD=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# Logo 1, the default vendor: a teal tile with a white "T" of two bars and a dot, then the name.
convert -size 240x60 xc:none \
    -fill '#0f766e' -draw 'roundrectangle 4,6 52,54 9,9' \
    -fill white -draw 'rectangle 14,16 42,22' -draw 'rectangle 25,22 31,44' -draw 'circle 38,41 38,45' \
    -fill '#0f766e' -font "$SANS_BOLD" -pointsize 24 -annotate +62+32 'Tamsel' \
    -fill '#475569' -font "$SANS" -pointsize 10.5 -annotate +63+48 'CREDIT  SERVICES' \
    -strip logo-vendor1.png

# Logo 2, any other vendor: an amber disc with three report lines and a plain wordmark.
convert -size 240x60 xc:none \
    -fill '#b45309' -draw 'circle 30,30 30,6' \
    -fill white -draw 'roundrectangle 17,19 43,23 2,2' -draw 'roundrectangle 17,28 39,32 2,2' \
    -draw 'roundrectangle 17,37 33,41 2,2' \
    -fill '#1f2937' -font "$SANS_BOLD" -pointsize 17 -annotate +64+29 'CREDIT REPORT' \
    -fill '#b45309' -font "$SANS" -pointsize 12 -annotate +64+46 'ordering desk' \
    -strip logo-vendor2.png

# Program icon: a page with ruled lines and a quill across it, on a navy tile.
convert -size 256x256 xc:none \
    -fill '#1e3a5f' -draw 'roundrectangle 8,8 247,247 40,40' \
    -fill white -draw 'polygon 64,40 160,40 196,76 196,216 64,216' \
    -fill '#cbd5e1' -draw 'polygon 160,40 160,76 196,76' \
    -fill '#94a3b8' -draw 'rectangle 84,100 176,108' -draw 'rectangle 84,124 176,132' \
    -draw 'rectangle 84,148 150,156' -draw 'rectangle 84,172 130,180' \
    -fill '#d97706' -draw 'polygon 224,28 200,96 156,170 150,176 160,160 176,100' \
    -stroke '#92400e' -strokewidth 4 -draw 'line 218,40 140,196' \
    -strip quillclient.png

# The 48x48 menu icon installed beside the 256x256 one.
convert quillclient.png -resize 48x48 -strip ../../packaging/quillclient-48.png
