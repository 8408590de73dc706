#!/usr/bin/env bash
# Reads the film that the recording panel exported (VextPanelTest) with
# ffprobe and ffmpeg: frame count, size and rate, and the pixels of one
# decoded frame against the image processor's rendering of that frame.
set -euo pipefail
source "$(dirname "$0")/../support/check_film.sh"
dir=$1/avi
check_film "$dir/test.old.avi" "$dir/film.txt" "$dir/frame"
