#!/usr/bin/env bash
# Installs what is missing, builds, and starts the viewer with a profile: the
# one given (bash scripts/run.sh profiles/demo-vext.ovp), else the demo profile
# of a simulated ZEL camera. On a desktop the window stays until it is closed.
# Without a display the viewer runs under Xvfb: once live frames are shown a
# screenshot is saved to build/screenshots/viewer.png and the viewer is closed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
"$here/install-deps.sh"
source "$here/wine-env.sh"
trap ov_cleanup EXIT

had_display=0
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then had_display=1; fi
ov_configure_and_build --target ovwinshell ovdsource
ov_start_display
ov_start_wine
ov_register_filter

profile_file=$(realpath "${1:-$root/profiles/demo-zel-mono.ovp}")
profile=$(winepath -w "$profile_file")
cd "$OV_BUILD/bin"
if [ "$had_display" = 1 ]; then
  exec wine ovwinshell.exe "$profile"
fi

wine ovwinshell.exe "$profile" &
viewer=$!
shots="$OV_BUILD/screenshots"
mkdir -p "$shots"
# Live frames: the frame view (right of the options pane, below the toolbar)
# is no longer one flat colour.
shown=0
for _ in $(seq 1 60); do
  sleep 1
  import -window root -display "$DISPLAY" "$shots/viewer.png" 2>/dev/null || continue
  spread=$(convert "$shots/viewer.png" -crop 800x500+400+150 +repage -colorspace Gray \
           -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
  if awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }'; then shown=1; break; fi
done
# Close the viewer as a user would (WM_CLOSE), so it writes its settings.
wine taskkill /im ovwinshell.exe >/dev/null 2>&1 || true
wait "$viewer" || true
if [ "$shown" = 1 ]; then
  echo "The viewer showed live frames; screenshot: $shots/viewer.png"
else
  echo "No live frames within 60 s; last screenshot: $shots/viewer.png" >&2
  exit 1
fi
