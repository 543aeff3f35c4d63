#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The game under weston (pixman, XWayland), nested in Xvfb, without a GPU:
# - on SDL's Wayland driver, windowed: the CPU compositor draws (log line), the window is decorated;
# - through XWayland, windowed and in full screen: the compositor draws too;
# - on Wayland in full screen on an output of scale 2: clicks land through the scaling;
# - weston killed under the game: the game ends in order, a score confirmed before in its pack.
XVFB_SCREEN=1700x1300x24
source "$(dirname "$0")/lib.sh"

OPTIONS="$WORK/game/game data/options.ini"
mkdir -m 700 "$WORK/run"
printf '[shell]\npanel-position=none\nbackground-color=0xff000000\n' >"$WORK/weston.ini"

# Starts weston with an output of WIDTH x HEIGHT points at scale SCALE (a window of the Xvfb display); sets
# WINDOW (weston's window, which shows every frame the game presents) and XWAYLAND.
start_weston() {
  (cd /; exec env XDG_RUNTIME_DIR="$WORK/run" timeout $((300 * PACE)) weston --backend=x11-backend.so \
     --use-pixman --xwayland --socket=wayland-e2e --config="$WORK/weston.ini" --idle-time=0 \
     --width="$1" --height="$2" --scale="$3" >"$WORK/weston.log" 2>&1) &
  WM_PID=$!
  weston_up() {
    XWAYLAND=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$WORK/weston.log") && [ -n "$XWAYLAND" ] &&
      WINDOW=$(timeout 5 xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) "Weston.*/\1/p') && [ -n "$WINDOW" ]
  }
  wait_until 20 "weston did not start (its log: $WORK/weston.log)" weston_up
  # Weston follows the pointer once it has entered its window.
  timeout 5 xdotool mousemove 1690 1290 || fail "cannot move the pointer"
}
on_wayland() { start_game XDG_RUNTIME_DIR="$WORK/run" WAYLAND_DISPLAY=wayland-e2e SDL_VIDEODRIVER=wayland "$@"; }
drawn_by() {
  line() { grep -aqs "^Desktop: video $1, drawing compositor," "$GAME_LOG"; }
  wait_until 15 "$WHERE: not drawn by the compositor on $1" line "$1"
  echo "ok: $WHERE: $(grep -a '^Desktop:' "$GAME_LOG" | tr -d '\r')"
}
end_game() { kill -TERM "$GAME_PID" && ends_in_order 15; }

start_xvfb
start_weston 1024 768 1
copy_game
WHERE="Wayland, windowed"
on_wayland
drawn_by wayland
# Weston's black background trimmed away: over the 800 x 600 picture, a title bar with a white title.
decorated() {
  shot screen && read -r W H X Y < <(convert "$WORK/screen.png" -fuzz 3% -trim -format '%w %h %X %Y\n' info:) &&
    [ "$W" -ge 800 ] && [ "$H" -ge 615 ] &&
    holds "$(share screen "${W}x$((H - 600))$X$Y" 'min(r, min(g, b)) > 0.9')" ">" 0.01
}
wait_until 20 "$WHERE: no 800 x 600 picture under a title bar" decorated
echo "ok: $WHERE: the window with its decorations is $W x $H"
end_game

for screen in True False; do
  WHERE="XWayland, Screen=$screen"
  sed -i "s/^Screen=.*/Screen=$screen\r/" "$OPTIONS"
  rm -f "$GAME_LOG"
  DISPLAY=$XWAYLAND start_game
  drawn_by x11
  end_game
done
kill "$WM_PID" && wait "$WM_PID" || true

# Full screen on Wayland on an output of scale 2: 800 x 600 points shown on 1600 x 1200 pixels.
start_weston 800 600 2
copy_game
WHERE="Wayland, scale 2"
sed -i 's/^Screen=.*/Screen=False\r/' "$OPTIONS"
on_wayland
drawn_by wayland
wait_frames 200
click 158 202  # Options
click 740 334  # "Windowed"
wait_until 10 "$WHERE: a click on 'Windowed' did not land" grep -q '^Screen=True' "$OPTIONS"
# A score confirmed under its name, then weston gone: the pack holds it.
timeout 5 xdotool windowfocus "$WINDOW" 2>/dev/null || true
play_to_the_end 2
click 920 890  # SUBMIT SCORE
key w e s t Return
confirmed() { grep -aq $'_name=West\r' "$WORK/game/0hscore.ini"; }
wait_until 10 "$WHERE: the score under West is not in the table" confirmed

kill -KILL "$(pgrep -P "$WM_PID")"
WHERE="weston gone" ends_in_order 15
grep -aq "^The display went away" "$GAME_LOG" || fail "the log does not say the display went away"
grep -aq $'_name=West\r' "$WORK/game/packs/"*.vnl || fail "the pack lacks the score confirmed before weston went"
echo "PASS: the compositor draws on Wayland and XWayland, windows decorated, clicks land at scale 2," \
  "the game outlives weston, its score kept"
