#!/usr/bin/env bash
# Reads the film that the recording panel exported (VextPanelTest) with
# ffprobe and ffmpeg: frame count, size and rate, and the pixels of one
# decoded frame against the image processor's rendering of that frame.
set -euo pipefail
dir=$1/avi
read -r frames width height index < <(tr -d '\r' <"$dir/film.txt")

info=$(ffprobe -v error -count_frames -select_streams v:0 \
  -show_entries stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 "$dir/test.old.avi")
if [ "$info" != "$width,$height,25/1,$frames" ]; then
  echo "test.old.avi: expected $width,$height,25/1,$frames, ffprobe read $info" >&2
  exit 1
fi
ffmpeg -v error -i "$dir/test.old.avi" -vf "select=eq(n\,$index)" -frames:v 1 -f rawvideo -pix_fmt bgr24 \
  "$dir/decoded_frame.bgr" -y
if ! cmp -s "$dir/decoded_frame.bgr" "$dir/frame$index.bgr"; then
  echo "test.old.avi: frame $index differs from the processor's rendering" >&2
  exit 1
fi
echo "test.old.avi: $info; frame $index decodes to the processor's pixels"
