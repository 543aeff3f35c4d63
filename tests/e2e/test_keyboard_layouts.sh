#!/usr/bin/env bash
# Names typed on German (QWERTZ) and French (AZERTY) keyboards come out in the player's own
# letters. The layout is set on the test's display before the game starts; xdotool strikes the
# keys that carry the letters on that layout, and the name is read back from the pack's table.
source "$(dirname "$0")/lib.sh"

# From a fresh start to the name entry: the trial pack, START, one find (a score above 0 ranks in
# the trial pack's empty table), then misses until the time runs out, then SUBMIT SCORE.
play_to_name_entry() {
  local index row_y
  index=$(cd "$WORK/game/packs" && ls | sort -f | grep -n -x 'Trial.vnl' | cut -d: -f1)
  row_y=$((175 + 20 * (index - 1) + 9))
  pause 5  # the splash logo fades out and the catalogue is built
  click 79 27         # Start Game
  click 500 "$row_y"  # the trial pack
  click 460 445       # START
  pause 3             # the pictures fade in
  click 245 160       # difference 1 on the original picture
  for _ in $(seq 20); do click 425 470; done  # misses until the time bar is empty
  pause 0.5
  click 460 445       # SUBMIT SCORE
}

# Types KEYS (keysym names) on LAYOUT and checks that the pack's table holds NAME.
type_name_on() {
  local layout=$1 name=$2
  shift 2
  copy_game
  rm -f "$WORK/game/packs/Trial.vnl"
  make_trial_pack
  timeout 10 setxkbmap -display "$DISPLAY" "$layout" || fail "setxkbmap $layout"
  start_game
  wait_for_window "Varnel v1.0.0"
  timeout 5 xdotool windowfocus "$WINDOW" 2>/dev/null || true
  play_to_name_entry
  key "$@"
  key Return
  local found=
  for _ in $(seq $((50 * PACE))); do
    grep -a -q $'^1_name=[^\r]' "$WORK/game/packs/Trial.vnl" && { found=1; break; }
    sleep 0.1
  done
  [ -n "$found" ] || fail "$layout: no name was stored in the pack"
  local stored
  stored=$(grep -a -o $'^1_name=[^\r]*' "$WORK/game/packs/Trial.vnl" | head -n1)
  [ "$stored" = "1_name=$name" ] || fail "$layout: typed '$*', stored '${stored#1_name=}' instead of '$name'"
  echo "ok: $layout: typed $*, stored $name"
  key Escape
  wait_for_exit 15
  [ "$GAME_STATUS" = 0 ] || fail "$layout: exit status $GAME_STATUS"
}

start_xvfb
type_name_on de Zoey z o e y
type_name_on fr Azqwm a z q w m
timeout 10 setxkbmap -display "$DISPLAY" us || true
echo "PASS: names typed on German and French keyboards are stored in the player's letters"
