#!/usr/bin/env bash
# Regenerates the Windows resource images from the PNG renders beside them, so that the
# build itself needs no image tools:
#   app/resources/korvane.ico   the program's icon, 16 and 32 px, 32-bit with alpha
#   app/resources/product.bmp   the About picture, 24-bit BMP (BITMAPINFOHEADER, bottom-up,
#                               no compression), the form LoadImage(IMAGE_BITMAP) reads
# Needs ImageMagick 6 (convert, identify). Run after changing icon-16.png, icon-32.png or
# product.png, and commit the results.
set -euo pipefail
cd "$(dirname "$0")/../app/resources"

convert icon-16.png icon-32.png -strip korvane.ico
# BMP3: the Windows 3 header every LoadImage understands; no alpha, no colour space block.
convert product.png -strip -alpha off -type TrueColor BMP3:product.bmp

identify korvane.ico product.bmp
