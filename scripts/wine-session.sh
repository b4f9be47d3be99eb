#!/usr/bin/env bash
# wine-session.sh start|stop BUILD_DIR
# start: creates the build tree's Wine prefix once, then starts one persistent wineserver, Wine's helper
#        services and an Xvfb display, and writes their settings to BUILD_DIR/session.env.
# stop:  ends what start began, by process id.
# Wine's helper services otherwise inherit the pipes of whoever starts the first program and keep them
# open for seconds after it ends; starting them once here, with no pipes attached, avoids that.
set -euo pipefail
action=$1
build=$(cd "$2" && pwd)
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
env_file="$build/session.env"
wine64=/usr/lib/wine/wine64

desktop_running() {
  local pid
  for pid in $(pgrep -f 'explorer.exe /desktop'); do
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}

start() {
  if [ -z "${DISPLAY:-}" ] || [ "${ORV_XVFB:-}" = 1 ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    echo $! > "$build/xvfb.pid"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n"
  fi
  if [ ! -f "$WINEPREFIX/.orvane-ready" ]; then
    rm -rf "$WINEPREFIX"
    # The 64-bit loader boots the prefix natively; 32-bit programs still run (through Wine's 32-bit side).
    WINEDLLOVERRIDES="mscoree,mshtml=" $wine64 wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    # Windows 7 behaviour; windows draw their own frames (no window-manager decoration on Xvfb);
    # no crash dialog that would wait for a person.
    $wine64 reg add 'HKCU\Software\Wine' /v Version /d win7 /f </dev/null >/dev/null 2>&1
    $wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1
    $wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
    # A crashing test ends at once instead of waiting in the debugger.
    for view in '' 'Wow6432Node\'; do
      $wine64 reg delete "HKLM\Software\${view}Microsoft\Windows NT\CurrentVersion\AeDebug" /v Debugger /f </dev/null >/dev/null 2>&1 || true
    done
    wineserver -w
    touch "$WINEPREFIX/.orvane-ready"
  fi
  wineserver -p </dev/null >/dev/null 2>&1
  $wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
  if [ -f "$build/tools/desktop-keeper.exe" ]; then
    wine "$build/tools/desktop-keeper.exe" </dev/null >/dev/null 2>&1 &
    # The desktop is up once explorer.exe runs in this prefix.
    for _ in $(seq 300); do
      desktop_running && break
      sleep 0.1
    done
  fi
  printf 'export WINEPREFIX=%q DISPLAY=%q WINEDEBUG=-all\n' "$WINEPREFIX" "$DISPLAY" > "$env_file"
}

stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$build/xvfb.pid" ]; then
    kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true
    rm -f "$build/xvfb.pid"
  fi
  rm -f "$env_file"
}

"$action"
