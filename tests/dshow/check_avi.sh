#!/usr/bin/env bash
# Reads the films of the AVI export tests with ffprobe and ffmpeg: frame
# count, size and rate, the pixels of one decoded frame, and that a film
# stopped in the middle is still readable.
set -euo pipefail
dir=$1
read -r frames width height index < <(tr -d '\r' <"$dir/export.txt")

info=$(ffprobe -v error -count_frames -select_streams v:0 \
  -show_entries stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 "$dir/export.avi")
if [ "$info" != "$width,$height,25/1,$frames" ]; then
  echo "export.avi: expected $width,$height,25/1,$frames, ffprobe read $info" >&2
  exit 1
fi
ffmpeg -v error -i "$dir/export.avi" -vf "select=eq(n\,$index)" -frames:v 1 -f rawvideo -pix_fmt bgr24 \
  "$dir/decoded_frame.bgr" -y
if ! cmp -s "$dir/decoded_frame.bgr" "$dir/export_frame$index.bgr"; then
  echo "export.avi: frame $index differs from the processor's rendering" >&2
  exit 1
fi

stopped=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 \
  "$dir/stopped.avi")
if ! [ "$stopped" -gt 0 ] 2>/dev/null; then
  echo "stopped.avi: ffprobe read no frames ($stopped)" >&2
  exit 1
fi
echo "export.avi: $info; frame $index decodes to the processor's pixels; stopped.avi: $stopped frames"
