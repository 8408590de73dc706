#!/usr/bin/env bash
# Reads the films of the AVI export tests with ffprobe and ffmpeg: frame
# count, size and rate, the pixels of one decoded frame, and that a film
# stopped in the middle is still readable.
set -euo pipefail
dir=$1
# Each name.txt holds "frames width height index" for name.avi, and
# name_frame<index>.bgr the pixels that frame must decode to.
check_film() {
  local name=$1 frames width height index info
  read -r frames width height index < <(tr -d '\r' <"$dir/$name.txt")
  info=$(ffprobe -v error -count_frames -select_streams v:0 \
    -show_entries stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 "$dir/$name.avi")
  if [ "$info" != "$width,$height,25/1,$frames" ]; then
    echo "$name.avi: expected $width,$height,25/1,$frames, ffprobe read $info" >&2
    exit 1
  fi
  ffmpeg -v error -i "$dir/$name.avi" -vf "select=eq(n\,$index)" -frames:v 1 -f rawvideo -pix_fmt bgr24 \
    "$dir/${name}_decoded.bgr" -y
  if ! cmp -s "$dir/${name}_decoded.bgr" "$dir/${name}_frame$index.bgr"; then
    echo "$name.avi: frame $index differs from the processor's rendering" >&2
    exit 1
  fi
  echo "$name.avi: $info; frame $index decodes to the processor's pixels"
}
check_film export
check_film vext

for film in stopped vext_stopped; do
  read_frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
    -of csv=p=0 "$dir/$film.avi")
  if ! [ "$read_frames" -gt 0 ] 2>/dev/null; then
    echo "$film.avi: ffprobe read no frames ($read_frames)" >&2
    exit 1
  fi
  echo "$film.avi: $read_frames frames"
done
