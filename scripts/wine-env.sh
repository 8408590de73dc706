# Sourced by the run and test scripts: the Wine environment, a private Wine
# prefix created on first use, an X display (Xvfb when none is set) and a
# persistent wineserver. Everything started here is stopped by ov_cleanup.

OV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OV_BUILD=${OV_BUILD:-$OV_ROOT/build}

export LANG=ru_RU.UTF-8
export LC_ALL=ru_RU.UTF-8
export WINEDEBUG=-all
export WINEARCH=win64
export WINEPREFIX=${OV_WINEPREFIX:-$OV_BUILD/wineprefix}
# No Mono or Gecko installers: nothing here needs them and they would ask.
export WINEDLLOVERRIDES="mscoree=;mshtml="

OV_XVFB_PID=""

ov_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return
  fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    OV_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && return
      sleep 0.1
    done
    kill "$OV_XVFB_PID" 2>/dev/null || true
    OV_XVFB_PID=""
  done
  echo "Could not start Xvfb" >&2
  return 1
}

ov_start_wine() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX (first use only)"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # One wineserver for the whole run saves a second on every program start.
  wineserver -p >/dev/null 2>&1 &
  disown 2>/dev/null || true
  # Settings are written on every start, not remembered by a marker file: a
  # fresh prefix once kept a marker while its registry had lost the setting.
  # A crashing program must end with a backtrace, not wait on a crash dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null || true
  # Our own Xvfb has no window manager: Wine would wait two seconds for one
  # every time a framed window is hidden. There, Wine places windows itself.
  # The setting is read back, and written again if it did not take.
  if [ -n "$OV_XVFB_PID" ]; then
    local try
    for try in 1 2 3; do
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null || true
      wine reg query 'HKCU\Software\Wine\X11 Driver' /v Managed 2>/dev/null </dev/null | grep -q 'Managed.*N' && break
    done
  else
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 </dev/null || true
  fi
  # The first program starts Wine's background services; started from here
  # they do not hold the output pipe of a later test open (ctest waits on it).
  wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
}

# Registers the built ovdsource.dll in the prefix (as a Windows user runs
# regsvr32 once), so that the viewer can create the source filter.
ov_register_filter() {
  wine regsvr32 /s "$OV_BUILD/bin/ovdsource.dll"
}

ov_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ -n "$OV_XVFB_PID" ]; then
    kill "$OV_XVFB_PID" 2>/dev/null || true
    wait "$OV_XVFB_PID" 2>/dev/null || true
  fi
}

ov_configure_and_build() {
  cmake -S "$OV_ROOT" -B "$OV_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$OV_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$OV_BUILD" "$@"
}
