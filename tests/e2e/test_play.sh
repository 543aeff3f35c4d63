#!/usr/bin/env bash
# A player's whole game in the real program: choose a pack, START, find a difference, miss until
# the time runs out, submit the score under a typed name, look at it on the High Scores screen and
# quit with Escape. The pack file then holds the score and the game folder nothing left over.
source "$(dirname "$0")/lib.sh"

# VARNEL_E2E_SHOTS names a folder that keeps the screenshots for a person to look at.
shot() {
  timeout 10 import -display "$DISPLAY" -window "$WINDOW" "$WORK/$1.png" || fail "no screenshot $1"
  [ -z "${VARNEL_E2E_SHOTS:-}" ] || cp "$WORK/$1.png" "$VARNEL_E2E_SHOTS/"
}

start_xvfb
copy_game
make_trial_pack
# What the game folder holds apart from the files the game and its engine write by design: the
# log, the options and the bitmap-font layout.
game_files() {
  (cd "$WORK/game" && find . -type f ! -path ./log.txt ! -path ./font.ini ! -path './game data/options.ini' | sort)
}
before=$(game_files)
index=$(cd "$WORK/game/packs" && ls | sort -f | grep -n -x 'Trial.vnl' | cut -d: -f1)
row_y=$((175 + 20 * (index - 1) + 9))

start_game
wait_for_window "Varnel v1.0.0"
timeout 5 xdotool windowfocus "$WINDOW" 2>/dev/null || true
pause 5  # the splash logo fades out and the catalogue is built

click 79 27           # Start Game
click 500 "$row_y"    # the trial pack
shot prompt
click 460 445         # START
pause 3               # the pictures fade in
click 245 160         # difference 1 on the original picture
shot found
for _ in $(seq 20); do click 425 470; done  # misses until the time bar is empty
pause 0.5
shot gameover
click 460 445         # SUBMIT SCORE
key t e s t e r
shot name
key Return
pause 0.5
timeout 5 xdotool mousemove --window "$WINDOW" 500 "$row_y" || fail "mousemove"
pause 0.5
shot highscores

copy="$WORK/game/$((index - 1))hscore.ini"
grep -q $'1_name=Tester\r' "$copy" 2>/dev/null || { shot final; cat "$copy" >&2; fail "the High Scores table does not hold the name"; }
score=$(sed -n 's/^1_score=\([0-9]*\)\r$/\1/p' "$copy")
[ -n "$score" ] && [ "$score" -gt 0 ] || fail "no score above 0 was entered (find missed?)"

key Escape
wait_for_exit 15
[ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS"
[ "$(last_log_line)" = "APPLICATION ENDED" ] || fail "the log does not end with APPLICATION ENDED"
grep -a -q $'1_name=Tester\r' "$WORK/game/packs/Trial.vnl" || fail "the pack file does not hold the score"
grep -a -q "1_score=$score"$'\r' "$WORK/game/packs/Trial.vnl" || fail "the pack file does not hold $score"
after=$(game_files)
[ "$before" = "$after" ] || fail "files left over: $(diff <(echo "$before") <(echo "$after") | grep '^>')"
echo "PASS: a whole game played; $score points stored in the pack under Tester"
