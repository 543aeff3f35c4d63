#!/usr/bin/env bash
# A display on which no graphics device can be made: the render driver asked for does not exist,
# so both the full-screen device and the windowed retry are refused. The game says why on
# standard error (its message box, with dialogs kept quiet), logs it, shows no window, ends in
# order and reports the failure in its exit status.
source "$(dirname "$0")/lib.sh"

start_xvfb
copy_game
start_game SDL_RENDER_DRIVER=no-such-driver
wait_for_exit 30
[ "$GAME_STATUS" != 0 ] || fail "exit status 0 after a failed start"
[ "$GAME_STATUS" != 124 ] && [ "$GAME_STATUS" != 137 ] || fail "the game had to be killed"
reason='Error in Tovak2D_Start : there is no render driver named "no-such-driver"'
grep -qF "Varnel: $reason" "$WORK/stderr" || fail "the player is not told why"
grep -qF "$reason" "$WORK/game/log.txt" || fail "the log does not say why"
grep -q 'DirectX Error, trying windowed mode!' "$WORK/game/log.txt" || fail "no windowed retry"
[ "$(last_log_line)" = "APPLICATION ENDED" ] || fail "the log does not end with APPLICATION ENDED"
echo "PASS: a refused device is reported, logged, and ends the game with status $GAME_STATUS"
