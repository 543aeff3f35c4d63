#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The real game. First, headless, a render driver that does not exist: both the full-screen device
# and the windowed retry are refused, and the game says why on standard error (its message box,
# with dialogs kept quiet), logs it and ends with a failure status. Then, under a virtual display,
# a start that works: every menu screen is clicked open with the mouse, and its
# screenshot must show the red halo behind the current button's caption, and the hovered pack rows
# are lit in their colours. (What each screen draws is checked by the headless game tests; here the
# clicks and the pointer go through a real display server.)
# While it runs, a second game on its folder says the game is already running and ends touching
# nothing, and varnel-pack refuses to write a pack there unless told --force. Closed the way a
# window manager closes it, the game ends in order, having drawn its 800 x 600 frames at 50 a
# second at most. (That a game leaves its folder as it was is checked by test_play, which scores.)
source "$(dirname "$0")/lib.sh"

GREEN='g > 0.75 && g - max(r, b) > 0.3'
YELLOW='r > 0.75 && g > 0.75 && b < 0.35'

copy_game
SDL_RENDER_DRIVER=no-such-driver run_refused "$WORK/game/Varnel" "$WORK/stderr"
reason='Error in Tovak2D_Start : there is no render driver named "no-such-driver"'
grep -qF "Varnel: $reason" "$WORK/stderr" || fail "the player is not told why"
grep -qF "$reason" "$WORK/game/log.txt" || fail "the log does not say why"
grep -q 'DirectX Error, trying windowed mode!' "$WORK/game/log.txt" || fail "no windowed retry"
[ "$(last_log_line)" = "APPLICATION ENDED" ] || fail "the log does not end with APPLICATION ENDED"
echo "ok: a refused device is reported, logged, and ends the game with status $STATUS"

rm -rf "$WORK/game"
copy_game
start_xvfb
start_game
wait_for_window "Varnel v1.0.0"

# The splash logo covers the first screen until it has faded out.
wait_for_screen credits 4
check "$(share credits 90x25+34+15 "$HALO")" "<" 0.002 "only the current button is marked"
names=(start_game high_scores options help credits_again)
for k in 0 1 2 3 4; do
  click 79 $((27 + 37 * k))
  wait_for_screen "${names[$k]}" "$k"
done

# Hovering the first pack row: light green on Start Game, yellow on High Scores.
click 79 27
timeout 5 xdotool mousemove --window "$WINDOW" 512 184 || fail "mousemove"
wait_for_shot start_hover 305x18+360+175 "$GREEN" 0.01 "the hovered row is light green"
click 79 64
timeout 5 xdotool mousemove --window "$WINDOW" 500 184 || fail "mousemove"
wait_for_shot scores_hover 190x18+405+175 "$YELLOW" 0.01 "the hovered row is yellow"

# A second game on the folder: a message, a failure status, and not one file changed (nor by the
# refused varnel-pack below).
snapshot() { (cd "$WORK/game" && find . -printf '%p %s %T@\n' | sort); }
before=$(snapshot)
run_refused "$WORK/game/Varnel" "$WORK/second.stderr"
grep -qF "Varnel: Varnel is already running on the game folder $WORK/game." "$WORK/second.stderr" ||
  fail "the second game does not say the game is already running: $(cat "$WORK/second.stderr")"
# varnel-pack leaves the running game's packs alone, unless forced.
PACK=$(find "$WORK/game/packs" -name '*.vnl' | sort | head -n1)
printf 'note\n' >"$WORK/note.txt"
pack_refused() {
  local status=0
  timeout 120 "$WORK/game/varnel-pack" "$@" 2>"$WORK/pack.stderr" || status=$?
  [ "$status" = 1 ] || fail "varnel-pack $1 on a folder in use ended with status $status"
  grep -qF "a running game uses $WORK/game" "$WORK/pack.stderr" || fail "varnel-pack does not say why: $(cat "$WORK/pack.stderr")"
}
pack_refused add "$PACK" "$WORK/note.txt"
pack_refused generate --layout vertical --levels 1 --seed 1 "$WORK/game/packs/New.vnl"
[ "$before" = "$(snapshot)" ] ||
  fail "the second start or varnel-pack changed the game folder: $(diff <(echo "$before") <(snapshot))"
timeout 60 "$WORK/game/varnel-pack" add --force "$PACK" "$WORK/note.txt" >/dev/null 2>"$WORK/pack.stderr" ||
  fail "varnel-pack add --force refused: $(cat "$WORK/pack.stderr")"
[ "$before" = "$(snapshot)" ] && fail "varnel-pack add --force did not write"

[ "$(timeout 10 identify -format '%wx%h' "$WORK/credits.png")" = 800x600 ] || fail "the window is not 800x600"
close_window 15
rate=$(sed -n 's/.* \([0-9.]*\) frames a second/\1/p' "$WORK/stderr")
[ -n "$rate" ] || fail "no frame report"
# The cap is 50: the frames may come slower on a busy machine, never faster.
check "$rate" "<" 50.5 "frames a second"
echo "PASS: a refused device ends the game; every menu screen shows its marks, the pack rows and information" \
  "follow the mouse; a second game and varnel-pack leave a folder in use alone; closing ends in order"
