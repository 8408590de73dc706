#!/usr/bin/env bash
# Builds and runs the benchmark table under Wine (a display is started when needed).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/install-deps.sh"
source "$here/wine-env.sh"
trap ov_cleanup EXIT
ov_configure_and_build --target ovbench ovavibench ovviewerbench ovdsource
ov_start_display
ov_start_wine
wine "$OV_BUILD/bin/ovbench.exe"

# The rate the viewer itself shows in its status bar after 10 s of the demo
# profile, the simulated camera in its fast mode.
shown=$(wine "$OV_BUILD/bin/ovviewerbench.exe" "$(winepath -w "$OV_ROOT/profiles/demo-zel-mono.ovp")" 10 | tr -d '\r')
printf '%-38s %s (status bar after 10 s, demo profile, fast simulated camera)\n' "viewer" "$shown"

# The AVI export: N recorded 1024 x 1024 frames through the capture graph,
# beside ffmpeg writing the same frames (raw BGR) into an uncompressed AVI.
ov_register_filter
frames=${OV_AVI_BENCH_FRAMES:-60}
work=$(mktemp -d)
graph_seconds=$(wine "$OV_BUILD/bin/ovavibench.exe" "$frames" "$(winepath -w "$work")" | tr -d '\r')
start=$(date +%s.%N)
ffmpeg -v error -f rawvideo -pix_fmt bgr24 -s 1024x1024 -r 25 -i "$work/frames.bgr" -c:v rawvideo "$work/ffmpeg.avi" -y
ffmpeg_seconds=$(LC_ALL=C awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
rm -rf "$work"
LC_ALL=C awk -v n="$frames" -v g="$graph_seconds" -v f="$ffmpeg_seconds" 'BEGIN {
  printf "%-38s %10.3f %9.1f %12.3f %8.2f\n", "AVI export, " n " frames (vs ffmpeg)", g / n * 1e3,
         n * 1048576 / g / 1e6, f / n * 1e3, g / f }'
