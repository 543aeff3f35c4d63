#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The running game's CPU and memory on each drawing path without a GPU, side by side in one run,
# under a private 1920 x 1080 Xvfb: OpenGL on the software GL driver, SDL's software renderer, and
# the engine's own CPU compositor; windowed (800 x 600) and in desktop full screen (the frame
# scaled to 1440 x 1080 between bars). CPU is the process's own CPU time (every thread, from
# /proc/PID/task/*/schedstat) over a few seconds of wall-clock time, so other work on the machine
# does not count; it is given as the share of one core and as CPU milliseconds a frame.
# Usage: bench/cpu_paths.sh [BUILD_DIR] [SECONDS] > figures.txt
# Prints one line per path, mode and screen (credits, start-game, play-vertical, play-horizontal,
# name-entry): PATH MODE SCREEN CPU% MS_PER_FRAME RSS_KB HWM_KB
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
SECONDS_TO_MEASURE=${2:-6}
WORK=$(mktemp -d /tmp/varnel-paths-XXXXXX)
XVFB_PID=
GAME_PID=
cleanup() {
  [ -n "$GAME_PID" ] && kill -TERM "$GAME_PID" 2>/dev/null && wait "$GAME_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

exec 9>"$WORK/display"
timeout 3600 Xvfb -displayfd 9 -noreset -nolisten tcp -screen 0 1920x1080x24 >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { echo "cpu_paths: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$WORK/display")"
export SDL_AUDIODRIVER=dummy TOVAK2D_QUIET_DIALOGS=1

start_game() {
  rm -rf "$WORK/game"
  mkdir -p "$WORK/game"
  cp -a "$BUILD/varnel/." "$WORK/game/"
  # 40 packs in the list: the four built ones first, then copies named to sort after them.
  for i in $(seq 10 45); do cp "$WORK/game/packs/Under the Sea.vnl" "$WORK/game/packs/Z Extra $i.vnl"; done
  sed -i "s/^Screen=.*/Screen=$1\r/" "$WORK/game/game data/options.ini"
  shift
  (cd /; exec env "$@" timeout --kill-after=5 120 "$WORK/game/Varnel" 2>"$WORK/stderr") &
  GAME_PID=$!
}
stop_game() {
  kill -TERM "$GAME_PID" 2>/dev/null || true
  wait "$GAME_PID" 2>/dev/null || true
  GAME_PID=
}
game_pid() { pgrep -P "$GAME_PID" | head -n1; }

cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
# CPU share of one core and CPU milliseconds a frame (at 50 frames a second) over the seconds.
measure() {
  local pid=$1 c0 c1 t0 t1
  c0=$(cpu_ns "$pid")
  t0=$(date +%s%N)
  sleep "$SECONDS_TO_MEASURE"
  c1=$(cpu_ns "$pid")
  t1=$(date +%s%N)
  awk -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" \
    'BEGIN { share = (c1 - c0) / (t1 - t0); printf "%.1f %.2f", 100 * share, share * 20 }'
}
memory() { awk '/^VmRSS/ { r = $2 } /^VmHWM/ { h = $2 } END { print r, h }' /proc/"$1"/status; }

window() { timeout 5 "$BUILD/tests/x11_window" find "Varnel v1.0.0"; }
# Clicks frame pixel (X, Y): the window shows the frame scaled by SCALE from LEFT, TOP.
SCALE=1 LEFT=0 TOP=0
click() {
  local x y
  read -r x y < <(awk -v x="$2" -v y="$3" -v s="$SCALE" -v l="$LEFT" -v t="$TOP" \
    'BEGIN { printf "%d %d\n", l + x * s, t + y * s }')
  timeout 5 xdotool mousemove --window "$1" "$x" "$y"
  sleep 0.15
  timeout 5 xdotool mousedown 1
  sleep 0.06
  timeout 5 xdotool mouseup 1
  sleep 0.3
}

for mode in windowed full; do
  for path in opengl software compositor; do
    case $path in
      opengl) vars=(SDL_RENDER_DRIVER=opengl) ;;
      software) vars=(SDL_RENDER_DRIVER=software) ;;
      compositor) vars=(TOVAK2D_COMPOSITOR=1) ;;
    esac
    for layout in vertical horizontal; do
      if [ "$mode" = windowed ]; then
        start_game True "${vars[@]}"
        SCALE=1 LEFT=0 TOP=0
      else
        start_game False "${vars[@]}"
        SCALE=1.8 LEFT=240 TOP=0
      fi
      sleep 6 # past the splash logo and the pack scan
      pid=$(game_pid)
      win=$(window || true)
      if [ -z "$pid" ] || [ -z "$win" ]; then
        echo "cpu_paths: the game did not start ($path, $mode)" >&2
        stop_game
        continue
      fi
      timeout 5 xdotool mousemove --window "$win" 5 5 # the pointer off the menu
      if [ "$layout" = vertical ]; then
        echo "$path $mode credits $(measure "$pid") $(memory "$pid")"
      fi
      click "$win" 79 27 # Start Game
      sleep 1
      if [ "$layout" = vertical ]; then
        echo "$path $mode start-game $(measure "$pid") $(memory "$pid")"
        click "$win" 500 184 # the first pack, vertical
      else
        click "$win" 500 204 # the second pack, horizontal
      fi
      click "$win" 460 445 # START
      sleep 3              # the pictures fade in
      echo "$path $mode play-$layout $(measure "$pid") $(memory "$pid")"
      if [ "$layout" = vertical ]; then
        # The joker finds a difference (a score above nothing), misses empty the time bar, and
        # SUBMIT SCORE on the game-over panel asks for the name.
        timeout 5 xdotool key --window "$win" space
        sleep 0.3
        for _ in $(seq 15); do click "$win" 425 470; done
        sleep 0.5
        click "$win" 460 445 # SUBMIT SCORE
        sleep 1
        echo "$path $mode name-entry $(measure "$pid") $(memory "$pid")"
      fi
      stop_game
    done
  done
done
