#!/usr/bin/env bash
# wine-session.sh start|stop BUILD_DIR
# start: creates the build tree's Wine prefix once, then starts one persistent wineserver, Wine's helper
#        services and an Xvfb display, and writes their settings to BUILD_DIR/session.env.
#        It also starts the window-test slots: each slot has a display and a Wine prefix of its own, so
#        window tests can run side by side without taking each other's focus or activation. The slots'
#        settings go to BUILD_DIR/slots/N.env, and BUILD_DIR/slots/resources.json tells ctest how many
#        there are (scripts/wine-run.sh picks the slot ctest hands a test).
# stop:  ends what start began, by process id.
# Wine's helper services otherwise inherit the pipes of whoever starts the first program and keep them
# open for seconds after it ends; starting them once here, with no pipes attached, avoids that.
#
# ORV_GUI_SLOTS sets the number of slots (default: one per core; 0 for none, as scripts/run.sh wants).
set -euo pipefail
action=$1
build=$(cd "$2" && pwd)
export WINEDEBUG=-all
base_prefix="$build/wineprefix"
slots_dir="$build/slots"
env_file="$build/session.env"
wine64=/usr/lib/wine/wine64
marlett=/usr/share/wine/fonts/marlett.ttf
# Raise when the prefix settings below change, so existing prefixes are made again.
prefix_recipe=3

desktop_running() { # desktop_running PREFIX
  local pid
  for pid in $(pgrep -f 'explorer.exe /desktop'); do
    tr '\0' '\n' 2>/dev/null < "/proc/$pid/environ" | grep -qx "WINEPREFIX=$1" && return 0
  done
  return 1
}

# Starts an Xvfb on the first free display number; prints the display name. The lock file is taken
# with the server's own -displayfd handshake, so two sessions starting at once never share a number.
start_display() { # start_display PID_FILE
  local fd_file number
  fd_file=$(mktemp)
  Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$fd_file" 2>/dev/null &
  echo $! > "$1"
  for _ in $(seq 200); do
    number=$(head -n1 "$fd_file" 2>/dev/null || true)
    [ -n "$number" ] && break
    sleep 0.05
  done
  rm -f "$fd_file"
  [ -n "$number" ] || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
  echo ":$number"
}

reg() { $wine64 reg add "$@" /f </dev/null >/dev/null 2>&1; }

make_base_prefix() {
  rm -rf "$base_prefix"
  export WINEPREFIX="$base_prefix"
  # The 64-bit loader boots the prefix natively; 32-bit programs still run (through Wine's 32-bit side).
  WINEDLLOVERRIDES="mscoree,mshtml=" $wine64 wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
  # Windows 7 behaviour; windows draw their own frames (no window-manager decoration on Xvfb), and
  # Wine does not wait for a window manager that is not there; no crash dialog that would wait for a
  # person.
  reg 'HKCU\Software\Wine' /v Version /d win7
  reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N
  reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d "${ORV_WINE_MANAGED:-N}"
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  # Text is drawn without smoothing, whatever the machine's font settings: pixel checks must not
  # depend on them.
  reg 'HKCU\Control Panel\Desktop' /v FontSmoothing /d 0
  reg 'HKCU\Control Panel\Desktop' /v FontSmoothingType /t REG_DWORD /d 1
  # The symbols of windows the system draws (caption buttons, scroll-bar arrows, check marks) come
  # from the Marlett font. Debian ships Wine's fonts apart (fonts-wine), and Wine's font loader finds
  # nothing in its data folder (it names it /usr/lib/wine/../../share/wine and never opens it), so the
  # close box would show the letter "r": the prefix gets its own copy in its Windows font folder.
  if [ -f "$marlett" ]; then
    cp "$marlett" "$base_prefix/drive_c/windows/Fonts/"
  else
    echo "wine-session: $marlett is missing (scripts/setup.sh installs fonts-wine); system-drawn windows will show letters for their symbols" >&2
  fi
  # A crashing test ends at once instead of waiting in the debugger.
  for view in '' 'Wow6432Node\'; do
    $wine64 reg delete "HKLM\Software\${view}Microsoft\Windows NT\CurrentVersion\AeDebug" /v Debugger /f \
      </dev/null >/dev/null 2>&1 || true
  done
  wineserver -w
  echo "$prefix_recipe" > "$base_prefix/.orvane-ready"
}

prefix_ready() { [ "$(cat "$1/.orvane-ready" 2>/dev/null)" = "$prefix_recipe" ]; }

# Starts the wineserver, the helper services and the desktop of one prefix.
start_prefix() { # start_prefix PREFIX DISPLAY
  export WINEPREFIX="$1" DISPLAY="$2"
  wineserver -p </dev/null >/dev/null 2>&1
  $wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
  if [ -f "$build/tools/desktop-keeper.exe" ]; then
    wine "$build/tools/desktop-keeper.exe" </dev/null >/dev/null 2>&1 &
    # The desktop is up once explorer.exe runs in this prefix.
    for _ in $(seq 600); do
      desktop_running "$WINEPREFIX" && break
      sleep 0.1
    done
  fi
}

start_slot() { # start_slot N
  local prefix="$build/wineprefix-slot$1" display
  if ! prefix_ready "$prefix" || [ "$base_prefix/.orvane-ready" -nt "$prefix/.orvane-ready" ]; then
    rm -rf "$prefix"
    cp -a "$base_prefix" "$prefix"
    touch "$prefix/.orvane-ready"
  fi
  display=$(start_display "$slots_dir/$1.xvfb.pid")
  start_prefix "$prefix" "$display"
  printf 'export WINEPREFIX=%q DISPLAY=%q WINEDEBUG=-all\n' "$prefix" "$display" > "$slots_dir/$1.env"
}

start() {
  local count display resources i
  if [ -z "${DISPLAY:-}" ] || [ "${ORV_XVFB:-}" = 1 ]; then
    DISPLAY=$(start_display "$build/xvfb.pid")
    export DISPLAY
  fi
  display=$DISPLAY
  prefix_ready "$base_prefix" || make_base_prefix
  ( start_prefix "$base_prefix" "$display" )
  count=${ORV_GUI_SLOTS:-$(nproc)}
  rm -rf "$slots_dir"
  mkdir -p "$slots_dir"
  for ((i = 0; i < count; i++)); do
    ( start_slot "$i" ) &
  done
  wait
  resources='{"version":{"major":1,"minor":0},"local":[{"display":['
  for ((i = 0; i < count; i++)); do
    [ -f "$slots_dir/$i.env" ] || { echo "wine-session: slot $i did not start" >&2; exit 1; }
    [ "$i" -gt 0 ] && resources+=','
    resources+="{\"id\":\"$i\",\"slots\":1}"
  done
  resources+=']}]}'
  echo "$resources" > "$slots_dir/resources.json"
  printf 'export WINEPREFIX=%q DISPLAY=%q WINEDEBUG=-all\n' "$base_prefix" "$display" > "$env_file"
}

stop_prefix() { WINEPREFIX="$1" wineserver -k >/dev/null 2>&1 || true; }

stop() {
  local prefix pid_file
  for prefix in "$base_prefix" "$build"/wineprefix-slot*; do
    [ -d "$prefix" ] && stop_prefix "$prefix"
  done
  for pid_file in "$build/xvfb.pid" "$slots_dir"/*.xvfb.pid; do
    [ -f "$pid_file" ] || continue
    kill "$(cat "$pid_file")" 2>/dev/null || true
    rm -f "$pid_file"
  done
  rm -f "$env_file" "$slots_dir"/*.env
}

"$action"
