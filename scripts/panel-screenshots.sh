#!/usr/bin/env bash
# Screenshots of the main window with the VEXT recording panel in each mode:
# setup, recording, playback (display controls switched on) and saving. The
# gui test VextPanelTest.ShowForScreenshots drives the panel and waits while
# ImageMagick grabs the screen. Usage: panel-screenshots.sh [folder]
# (default build/screenshots). Needs a build (gui_tests.exe, ovdsource.dll).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
out=$(realpath -m "${1:-$OV_BUILD/screenshots}")
mkdir -p "$out"
work=$(mktemp -d /tmp/ovpanel.XXXXXX)
test_pid=""
finish() {
  if [ -n "$test_pid" ]; then wait "$test_pid" 2>/dev/null || true; fi
  ov_cleanup
  rm -rf "$work"
}
trap finish EXIT
ov_start_display
ov_start_wine
ov_register_filter

cd "$OV_BUILD/bin"
OV_PANEL_SCREENSHOT_DIR="Z:$work" timeout 300 wine ./gui_tests.exe --gtest_filter=VextPanelTest.ShowForScreenshots \
  >"$work/test.log" 2>&1 &
test_pid=$!

for mode in setup recording playback saving; do
  for _ in $(seq 1 600); do
    [ -e "$work/$mode.ready" ] && break
    if ! kill -0 "$test_pid" 2>/dev/null; then
      cat "$work/test.log" >&2
      echo "the test ended before showing $mode" >&2
      exit 1
    fi
    sleep 0.2
  done
  [ -e "$work/$mode.ready" ] || { echo "$mode never came up" >&2; exit 1; }
  sleep 0.3
  import -window root -display "$DISPLAY" "$out/panel-$mode.png"
  touch "$work/$mode.done"
  echo "screenshot: $out/panel-$mode.png"
done
