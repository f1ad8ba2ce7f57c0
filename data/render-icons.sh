#!/usr/bin/env bash
# Renders the PNG icons from the scalable SVGs. The PNGs are committed, so
# a build needs no SVG renderer; run this after changing an SVG
# (rsvg-convert comes with librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/icons"
for svg in scalable/*.svg; do
  id=$(basename "$svg" .svg)
  for size in 48 256; do
    rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/$id.png"
  done
done
