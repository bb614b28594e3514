#!/bin/sh
# make-fonts.sh <fontpack> <fonts dir> <work dir> <output.cpp>
# Unpacks the three console fonts and packs them into the font block source.
# `make fonts` writes gfx/text/packed_fonts.cpp; the fonts test writes a copy and
# compares it with the committed one.
set -eu
fontpack=$1
fonts=$2
work=$3
output=$4
mkdir -p "$work"
for font in cp865-8x8 cp865-8x14 default8x16; do
  gunzip -c "$fonts/$font.psf.gz" > "$work/$font.psf"
done
"$fontpack" "$work/cp865-8x8.psf" "$work/cp865-8x14.psf" "$work/default8x16.psf" "$output"
