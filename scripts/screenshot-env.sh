# Sourced by the screenshot scripts whose picture a test program sets up: a
# scratch folder ($work), Xvfb and Wine, the test program in the background
# and a wait for the file it writes once its window is ready. The program
# closes its window when $work/done appears; everything stops at exit.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
work=$(mktemp -d /tmp/ovshot.XXXXXX)
test_pid=""
ov_shot_finish() {
  touch "$work/done"
  if [ -n "$test_pid" ]; then wait "$test_pid" 2>/dev/null || true; fi
  ov_cleanup
  rm -rf "$work"
}
trap ov_shot_finish EXIT
ov_start_display
ov_start_wine

# ov_shot_start COMMAND...: runs the test program, its output into $work/test.log.
ov_shot_start() {
  "$@" >"$work/test.log" 2>&1 &
  test_pid=$!
}

# ov_shot_wait NAME: waits up to three minutes for $work/NAME; fails when the
# test program ended first or the file never came.
ov_shot_wait() {
  local _
  for _ in $(seq 1 900); do
    [ -e "$work/$1" ] && return 0
    if ! kill -0 "$test_pid" 2>/dev/null; then
      cat "$work/test.log" >&2
      echo "the test ended before $1" >&2
      exit 1
    fi
    sleep 0.2
  done
  echo "$1 never came" >&2
  exit 1
}
