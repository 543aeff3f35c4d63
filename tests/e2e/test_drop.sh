#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Files dropped on the real game's window the way a file manager drops them (the X drag-and-drop
# messages, the paths as file URIs with their blanks and signs percent-encoded):
# - a pack made by varnel-pack, dropped during a level, is copied into the packs folder under its
#   name once the level is left, and the Start Game screen shows it selected; dropped again, it is
#   added as "<name> 2";
# - a damaged (cut short) pack is refused with its first problem (its last level's pictures are cut
#   off) on the screen, and nothing is added;
# - a folder of photos starts the making of a pack from them.
source "$(dirname "$0")/lib.sh"
GREEN='g > 0.5 && g - max(r, b) > 0.25'

copy_game
PACK="$WORK/Sea & Sky #1.vnl"
timeout 60 "$WORK/game/varnel-pack" generate --layout vertical --levels 2 --seed 7 "$PACK" >/dev/null || fail generate
head -c "$(($(stat -c %s "$PACK") / 2))" "$PACK" >"$WORK/Broken.vnl"
mkdir "$WORK/My Holiday" && cp /usr/lib/python3/dist-packages/skimage/data/{coffee,chelsea}.png "$WORK/My Holiday/"
PACKS=$(ls -A "$WORK/game/packs" | wc -l)

start_xvfb
start_game
wait_for_window "Varnel v1.0.0"
wait_for_screen credits 4

# Drops PATH and waits until the log says TEXT.
drop() {
  timeout $((20 * PACE)) "$X11_WINDOW" drop "$WINDOW" "$1" || fail "the window did not take the drop of $1"
  wait_until 20 "the log never says: $2" grep -qF -- "$2" "$GAME_LOG"
}

# During a level (the first pack's, started from the Start Game screen) the drop waits; the level's
# EXIT button (where both layouts have it) ends the game and the pack is added.
click 79 27 && click 512 183
drop "$PACK" 'Drop kept until the game is over : 1 file(s)'
[ ! -e "$WORK/game/packs/Sea & Sky #1.vnl" ] || fail "the pack was added during the level"
click 520 440 && click 740 581
wait_until 20 "not added after the level" grep -qF 'The pack Sea & Sky #1 was added and selected.' "$GAME_LOG"
cmp -s "$PACK" "$WORK/game/packs/Sea & Sky #1.vnl" || fail "the pack was not copied whole"
wait_for_screen start_game 0
# The notice and the pack's details (layout, levels) are in green.
wait_for_shot notice "420x30+280+440" "$GREEN" 0.01 "the notice of the added pack"
check "$(share notice 180x50+30+330 "$GREEN")" ">" 0.01 "the pack's layout and levels are shown"

drop "$PACK" 'Drop : The pack Sea & Sky #1 2 was added and selected.'
drop "$WORK/Broken.vnl" 'Drop : Broken.vnl is not a playable pack: level 2: the picture pair is missing'
wait_for_shot refused "420x30+280+440" 'r > 0.75 && g > 0.5 && b < 0.6 && r - b > 0.25' 0.01 "the refusal"
[ "$(ls -A "$WORK/game/packs" | wc -l)" = $((PACKS + 2)) ] || fail "the refused pack left files in the packs folder"

drop "$WORK/My Holiday" 'Photo pack: making "My Holiday" from 2 photos'
close_window 15
