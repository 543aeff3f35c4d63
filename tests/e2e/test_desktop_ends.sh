#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# What the desktop does to the game, and what the game says about it:
# - a log.txt that cannot be written (read-only; on a full disk, /dev/full) is named with the cause;
# - the log names the video driver, the drawing path, the sound and the display scale;
# - the X server ending under the menu: the game ends in order, its log closed;
# - TERM while the "already running" box waits for its button ends that second game at once, and
#   TERM while the engine's box at start or the game's box during play is open ends the game in order.
source "$(dirname "$0")/lib.sh"

copy_game
# Runs the game headless until its log message is on standard error, then ends it with TERM.
log_refused() {
  start_game SDL_VIDEODRIVER=dummy
  said() { grep -qF "[Log Error] Cannot write the log $WORK/game/log.txt: $1" "$WORK/stderr"; }
  wait_until 30 "the log's fault is not named ($1): $(cat "$WORK/stderr")" said "$1"
  grep -q "DirectX" "$WORK/stderr" && fail "a missing DirectX is blamed for the log"
  kill -TERM "$GAME_PID"
  wait "$GAME_PID" || fail "the game without a log did not end in order"
  GAME_PID=
  echo "ok: the log that cannot be written is named ($1)"
}
touch "$GAME_LOG" && chmod 444 "$GAME_LOG"
log_refused "the file is read-only"
rm -f "$GAME_LOG" && ln -s /dev/full "$GAME_LOG"
log_refused "No space left on device"
rm -f "$GAME_LOG"

start_xvfb
box_shown() { timeout 5 xwininfo -root -children 2>/dev/null | grep -q "\"${1:-Varnel}\": ("; }
# The game as a player starts it: its boxes shown.
start_boxed() {
  (cd /; exec env -u TOVAK2D_QUIET_DIALOGS SDL_AUDIODRIVER=dummy timeout --kill-after=5 60 "$GAME_COMMAND" 2>"$WORK/stderr") &
  GAME_PID=$!
}
# TERM while the engine's box at start (the log refused) is open: the box closes and the game ends
# in order, its log (writable again meanwhile) closed.
touch "$GAME_LOG" && chmod 444 "$GAME_LOG"
start_boxed
wait_until 15 "no box for the log refused" box_shown "Log Error"
chmod 644 "$GAME_LOG"
kill -TERM "$GAME_PID"
WHERE="TERM under the engine's box at start" ends_in_order 2
rm -f "$GAME_LOG"
# TERM while a box is open during play (the chosen pack gone before START) ends the game in order.
start_boxed
wait_for_window "Varnel v1.0.0"
wait_for_screen credits 4
click 79 27    # Start Game
click 500 184  # the first pack, City Nights
mv "$WORK/game/packs/City Nights.vnl" "$WORK/City Nights.vnl"
# START: the game stops in the box as the button goes down.
timeout 5 xdotool mousemove --window "$WINDOW" 460 445 && wait_frames && timeout 5 xdotool mousedown 1 ||
  fail "click on START"
wait_until 15 "no box for the pack gone" box_shown
timeout 5 xdotool mouseup 1
kill -TERM "$GAME_PID"
WHERE="TERM under a box during play" ends_in_order 2
mv "$WORK/City Nights.vnl" "$WORK/game/packs/"
rm -f "$GAME_LOG"

start_game
wait_for_window "Varnel v1.0.0"
desktop_line() { grep -aq "^Desktop: video x11, drawing [A-Za-z ]*, sound dummy.*, scale 1"$'\r'"$" "$GAME_LOG"; }
wait_until 10 "no line names the desktop" desktop_line
echo "ok: $(grep -a '^Desktop:' "$GAME_LOG" | tr -d '\r')"

# A second game on the same folder shows its box; TERM ends it while the box waits.
(cd /; exec env -u TOVAK2D_QUIET_DIALOGS SDL_AUDIODRIVER=dummy timeout 30 "$GAME_COMMAND" 2>"$WORK/second") &
SECOND=$!
wait_until 15 "the second game shows no box: $(cat "$WORK/second")" box_shown
kill -TERM "$SECOND"
second_ended() { ! kill -0 "$SECOND" 2>/dev/null; }
wait_until 2 "TERM did not end the game whose box is open" second_ended
status=0 && wait "$SECOND" || status=$?
[ "$status" = 1 ] || fail "the second game ended with status $status"
echo "ok: TERM ends a game whose box is open"

# The X server goes away under the menu.
wait_for_screen menu 4  # the splash logo has faded out
kill -KILL "$XVFB_PID"
XVFB_PID=
WHERE="X server gone" ends_in_order 15
grep -aq "^The display went away" "$GAME_LOG" || fail "the log does not say the display went away"
echo "PASS: the log's faults named, the desktop in the log, TERM closes the engine's and the game's boxes, the game outlives its display"
