#!/bin/sh
# compare_shot.sh <shot program> <input script> <reference.png> <output.png>
# Renders the example and compares its picture with the reference, pixel for pixel.
set -u
shot=$1
input=$2
reference=$3
output=$4
rm -f "$output"
"$shot" -o "$output" --input "$input" || { echo "FAIL: $shot ended with code $?"; exit 1; }
if [ -n "${ZV_UPDATE_REFERENCES:-}" ]; then
  cp "$output" "$reference" && echo "updated $reference" && exit 0
fi
[ -f "$reference" ] || { echo "FAIL: no reference picture $reference (see $output)"; exit 1; }
differing=$(compare -metric AE "$output" "$reference" "${output%.png}-diff.png" 2>&1)
if [ "$differing" = 0 ]; then
  echo "ok: $output equals $reference"
  exit 0
fi
echo "FAIL: $output differs from $reference in $differing pixels (marked in ${output%.png}-diff.png)"
exit 1
