#!/usr/bin/env bash
# The real game under a virtual display: every menu screen is clicked open with the mouse and its
# screenshot compared, region by region, with what that screen must show; Exit ends the game in
# order and leaves the game folder as it found it.
source "$(dirname "$0")/lib.sh"

shot() {
  sleep 0.5
  timeout 10 import -display "$DISPLAY" -window "$WINDOW" "$WORK/$1.png" || fail "no screenshot $1"
}

# Root mean square difference (0 to 1) of two screenshots inside the region WxH+X+Y.
region_difference() {
  local a=$1 b=$2 region=$3
  timeout 10 convert "$WORK/$a.png" "$WORK/$b.png" -crop "$region" +repage -compose difference -composite \
    -colorspace gray -format '%[fx:sqrt(mean*mean+standard_deviation*standard_deviation)]' info: | tail -n1
}

# Standard deviation of the brightness inside a region: near 0 for an empty or blank area.
region_detail() {
  timeout 10 convert "$WORK/$1.png" -crop "$2" +repage -colorspace gray -format '%[fx:standard_deviation]' info:
}

expect_above() {
  awk -v v="$1" -v t="$2" 'BEGIN { exit !(v > t) }' || fail "$3 ($1, expected above $2)"
}

click_at() {
  timeout 5 xdotool mousemove --window "$WINDOW" "$1" "$2" || fail "cannot move the pointer"
  sleep 0.2
  timeout 5 xdotool click 1 || fail "cannot click"
}

[ -f "$GAME_DIR/game data/pictures.vnl" ] || fail "the built game folder has no game data"
start_xvfb
copy_game
packs=$(find "$WORK/game/packs" -maxdepth 1 -type f 2>/dev/null | wc -l)
[ "$packs" -ge 1 ] || fail "the built game folder has no packs"
start_game
wait_for_window "Varnel v1.0.0"

# The splash logo covers the first screen fully at first, and is gone after 200 passes.
shot splash
sleep 5
timeout 5 xdotool mousemove --window "$WINDOW" 700 580
shot credits
expect_above "$(region_detail credits 800x600+0+0)" 0.02 "the credits screen is blank"
expect_above "$(region_difference splash credits 620x600+180+0)" 0.02 "the logo still covers the credits"

# The menu column: Start Game, High Scores, Options, Help, Credits at y 15 + 37 k, 120 x 25.
click_at 79 27
shot start_game
click_at 79 64
shot high_scores
click_at 79 101
shot options
click_at 79 138
shot help
click_at 79 175
shot credits_again

# Every screen but the credits has its banner at (240, 0); each shows its own content on the right.
for screen in start_game high_scores options help; do
  expect_above "$(region_difference credits "$screen" 500x100+246+8)" 0.03 "$screen shows no banner"
done
expect_above "$(region_difference credits help 470x380+252+150)" 0.03 "the help text is not shown"
expect_above "$(region_difference credits start_game 450x380+280+95)" 0.03 "the pack list panel is not shown"
expect_above "$(region_difference start_game high_scores 800x400+0+100)" 0.03 "both pack screens look alike"
expect_above "$(region_difference help options 480x300+250+150)" 0.03 "options and help look alike"
expect_above "$(region_difference credits_again start_game 500x100+246+8)" 0.03 "Credits did not come back"

# A pack row under the mouse fills the information panel on the left.
click_at 79 27
timeout 5 xdotool mousemove --window "$WINDOW" 700 580
shot start_idle
timeout 5 xdotool mousemove --window "$WINDOW" 512 184
shot start_hover
expect_above "$(region_difference start_idle start_hover 150x140+30+315)" 0.02 "hovering a pack shows no information"

click_at 79 212
wait_for_exit 15
[ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS"
[ "$(last_log_line)" = "APPLICATION ENDED" ] || fail "the log does not end with APPLICATION ENDED"
leftovers=$(cd "$WORK/game" && ls | grep -E '^[0-9]+(packinfo|hscore)\.ini$|^picinfo\.ini$|\.(jpg|dds|bmp|png)$' || true)
[ -z "$leftovers" ] || fail "files left in the game folder: $leftovers"
cmp -s <(cd "$GAME_DIR/packs" && cat ./*) <(cd "$WORK/game/packs" && cat ./*) || fail "a pack was rewritten"
echo "PASS: every menu screen shows, the pack information follows the mouse, Exit ends in order"
