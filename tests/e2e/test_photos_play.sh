#!/usr/bin/env bash
# A pack made from a photo by varnel-pack photos, played in the real program: the five rectangles
# the tool wrote for the level are clicked on the original picture, the level is done, and the
# score with its level bonus is entered under a typed name.
source "$(dirname "$0")/lib.sh"

start_xvfb
copy_game
mkdir -p "$WORK/photos"
cp /usr/lib/python3/dist-packages/skimage/data/coffee.png "$WORK/photos/" || fail "the sample photo is missing"
pack="$WORK/game/packs/Coffee.vnl"
timeout 60 "$WORK/game/varnel-pack" photos --seed 3 --title Coffee "$WORK/photos" "$pack" \
  >"$WORK/tool.out" 2>&1 || { cat "$WORK/tool.out" >&2; fail "varnel-pack photos"; }
timeout 30 "$WORK/game/varnel-pack" extract "$pack" "$WORK/open" >/dev/null || fail "varnel-pack extract"
rm -f "$WORK/game/varnel-pack"  # keeps the game folder as the player has it

# The middle of each rectangle, as a screen point on the original picture (horizontal layout: its
# top-left corner at 350, 29).
edge() { sed -n "s/^$1=\([0-9]*\)\r$/\1/p" "$WORK/open/picinfo.ini"; }
points=()
for d in 1 2 3 4 5; do
  left=$(edge "${d}Left") right=$(edge "${d}Right") top=$(edge "${d}Top") bottom=$(edge "${d}Bottom")
  [ -n "$left" ] && [ -n "$bottom" ] || fail "picinfo.ini lacks rectangle $d"
  points+=("$((350 + (left + right) / 2)) $((29 + (top + bottom) / 2))")
done
index=$(cd "$WORK/game/packs" && ls | sort -f | grep -n -x 'Coffee.vnl' | cut -d: -f1)
row_y=$((175 + 20 * (index - 1) + 9))

start_game
wait_for_window "Varnel v1.0.0"
timeout 5 xdotool windowfocus "$WINDOW" 2>/dev/null || true
pause 5  # the splash logo fades out and the catalogue is built

click 79 27          # Start Game
click 500 "$row_y"   # the photo pack
click 530 445        # START
pause 3              # the pictures fade in
for point in "${points[@]}"; do
  # shellcheck disable=SC2086
  click $point
done
pause 0.5
click 530 445        # SUBMIT SCORE on the pack-completed panel
key p h o t o
key Return
pause 0.5

copy="$WORK/game/$((index - 1))hscore.ini"
score=$(sed -n 's/^1_score=\([0-9]*\)\r$/\1/p' "$copy" 2>/dev/null)
# One find is worth at most 40 at level 1; only a finished level's bonus brings the score past 400.
[ -n "$score" ] && [ "$score" -gt 400 ] || fail "no score above 400 was entered (score '${score}'): not all five found"
grep -q $'1_name=Photo\r' "$copy" || fail "the High Scores table does not hold the name"

key Escape
wait_for_exit 15
[ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS"
echo "PASS: the photo level was played to its end; $score points entered"
