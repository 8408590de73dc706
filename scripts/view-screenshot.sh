#!/usr/bin/env bash
# Builds the frame view preview, runs it on a private display with live frames
# from the simulated camera and takes a picture of the whole screen.
#   scripts/view-screenshot.sh [output.png] [preview arguments...]
# e.g. scripts/view-screenshot.sh /tmp/view-colour.png --colour --zoom 200 --gain 3
# The preview is given six seconds; one that has not ended by then is stopped
# (and every Wine process of this run goes with the wineserver at the end).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-/tmp/view.png}
[ $# -gt 0 ] && shift
source "$here/wine-env.sh"
trap ov_cleanup EXIT
ov_configure_and_build --target ovviewpreview
ov_start_display
ov_start_wine
cd "$OV_BUILD/bin"
timeout 20 wine ./ovviewpreview.exe --exit-after 6000 "$@" >"$OV_BUILD/view-preview.log" 2>&1 &
preview=$!
sleep 4
import -window root -display "$DISPLAY" "$out"
status=0
for _ in $(seq 1 40); do
  kill -0 "$preview" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$preview" 2>/dev/null; then
  echo "The preview did not end in time; stopping it." >&2
  kill "$preview" 2>/dev/null || true
fi
wait "$preview" || status=$?
echo "Screenshot: $out (preview exit status $status)"
