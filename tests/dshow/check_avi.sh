#!/usr/bin/env bash
# Reads the films of the AVI export tests with ffprobe and ffmpeg: frame
# count, size and rate, the pixels of one decoded frame, and that a film
# stopped in the middle is still readable.
set -euo pipefail
dir=$1
source "$(dirname "$0")/../support/check_film.sh"
# Each name.txt holds "frames width height index" for name.avi, and
# name_frame<index>.bgr the pixels that frame must decode to.
check_film "$dir/export.avi" "$dir/export.txt" "$dir/export_frame"
check_film "$dir/vext.avi" "$dir/vext.txt" "$dir/vext_frame"

for film in stopped vext_stopped; do
  read_frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
    -of csv=p=0 "$dir/$film.avi")
  if ! [ "$read_frames" -gt 0 ] 2>/dev/null; then
    echo "$film.avi: ffprobe read no frames ($read_frames)" >&2
    exit 1
  fi
  echo "$film.avi: $read_frames frames"
done
