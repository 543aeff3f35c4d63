#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# CPU use of the running game while it idles at 50 frames a second, measured from outside the
# process (/proc), under a private Xvfb.
# Usage: bench/idle_cpu.sh [GAME_DIR] [SECONDS]
#   XVFB_SCREEN (default 1024x768x24) and XFT_DPI (the desktop's scale times 96, loaded with xrdb;
#   default none) try the windowed game on a scaled desktop, e.g. 3840x2160x24 and 192.
#   WESTON (an output WIDTHxHEIGHT@SCALE in points, e.g. 1024x768@1) runs the game on SDL's Wayland
#   driver under weston (pixman renderer) nested in the Xvfb; FULL_SCREEN=1 starts it in full screen.
set -euo pipefail
GAME_DIR=${1:-build/varnel}
SECONDS_TO_MEASURE=${2:-10}
WORK=$(mktemp -d /tmp/varnel-bench-XXXXXX)
XVFB_PID=
GAME_PID=
WESTON_PID=
trap '[ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null; [ -n "$WESTON_PID" ] && kill "$WESTON_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null; rm -rf "$WORK"' EXIT

exec 9>"$WORK/display"
Xvfb -displayfd 9 -noreset -nolisten tcp -screen 0 "${XVFB_SCREEN:-1024x768x24}" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$WORK/display")"
[ -z "${XFT_DPI:-}" ] || echo "Xft.dpi: $XFT_DPI" | timeout 5 xrdb -merge

cp -a "$GAME_DIR"/. "$WORK/game/" 2>/dev/null || { mkdir -p "$WORK/game"; cp -a "$GAME_DIR"/. "$WORK/game/"; }
[ -z "${FULL_SCREEN:-}" ] || sed -i 's/^Screen=.*/Screen=False\r/' "$WORK/game/game data/options.ini"
if [ -n "${WESTON:-}" ]; then
  mkdir -m 700 "$WORK/run"
  export XDG_RUNTIME_DIR=$WORK/run WAYLAND_DISPLAY=wayland-bench SDL_VIDEODRIVER=wayland
  size=${WESTON%@*}
  timeout 600 weston --backend=x11-backend.so --use-pixman --socket=wayland-bench --idle-time=0 \
    --width="${size%x*}" --height="${size#*x}" --scale="${WESTON#*@}" >"$WORK/weston.log" 2>&1 &
  WESTON_PID=$!
  for _ in $(seq 100); do [ -S "$WORK/run/wayland-bench" ] && break; sleep 0.1; done
fi
SDL_AUDIODRIVER=dummy TOVAK2D_QUIET_DIALOGS=1 TOVAK2D_FRAME_STATS=1 timeout 300 "$WORK/game/Varnel" \
  2>"$WORK/stderr" &
GAME_PID=$!
sleep 3  # past start-up
GAME=$(pgrep -P "$GAME_PID" | head -n1)  # the game itself, under timeout
[ -n "$GAME" ] || { echo "the game did not start" >&2; exit 1; }

# Nanoseconds on a CPU, summed over the process's threads (the mixer and music run on their own).
cpu() { cat /proc/"$GAME"/task/*/schedstat | awk '{ s += $1 } END { printf "%.0f", s }'; }
start_cpu=$(cpu)
start_time=$(date +%s.%N)
sleep "$SECONDS_TO_MEASURE"
end_cpu=$(cpu)
end_time=$(date +%s.%N)
memory=$(awk '/^VmRSS/ { print $2 / 1024 " MB resident" }' /proc/"$GAME"/status)
kill -TERM "$GAME_PID"
wait "$GAME_PID" || true
GAME_PID=

awk -v c0="$start_cpu" -v c1="$end_cpu" -v t0="$start_time" -v t1="$end_time" \
  'BEGIN { printf "idle main loop: %.2f %% of one core over %.1f s, ", 100 * (c1 - c0) / 1e9 / (t1 - t0), t1 - t0 }'
echo "$memory"
grep "frames a second" "$WORK/stderr" || true
grep -a "^Desktop:" "$WORK/game/log.txt" | tr -d '\r'
