#!/usr/bin/env bash
# The real game opens its window, draws its frames capped at 50 a second, and shuts down in order
# when the window manager asks it to close. (How close to 50 it gets is the benchmark's business.)
source "$(dirname "$0")/lib.sh"

start_xvfb
copy_game
start_game
wait_for_window "Varnel v1.0.0"
pause 2

timeout 10 import -display "$DISPLAY" -window "$WINDOW" "$WORK/shot.png" || fail "no screenshot"
size=$(timeout 10 identify -format '%wx%h' "$WORK/shot.png")
[ "$size" = "800x600" ] || fail "the window is $size, not 800x600"
brightest=$(timeout 10 convert "$WORK/shot.png" -format '%[fx:maxima]' info:)
[ "$brightest" != "0" ] || fail "the screen is blank"

timeout 5 "$X11_WINDOW" close "$WINDOW"
wait_for_exit 10
[ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS"
[ "$(last_log_line)" = "APPLICATION ENDED" ] || fail "the log does not end with APPLICATION ENDED"
grep -q "Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!" "$WORK/game/log.txt" || fail "no engine start line"

rate=$(sed -n 's/.* \([0-9.]*\) frames a second/\1/p' "$WORK/stderr")
[ -n "$rate" ] || fail "no frame report"
# The cap is 50: the frames may come slower on a busy machine, never faster.
awk -v r="$rate" 'BEGIN { exit !(r > 0 && r <= 50.5) }' || fail "ran at $rate frames a second"
echo "PASS: window closed in order after frames at $rate a second"
