#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Full screen and windowed mode under a window manager, on the OpenGL and the software renderer
# (and full screen once without a window manager).
# Started in full screen (Screen=False), the window is mapped, covers the whole 1280 x 720 display
# and shows the 800 x 600 frame scaled by 1.2 between black bars. Clicks go through the scaling:
# Options, then its "Windowed" choice, then Exit. The next start is windowed: an 800 x 600 window,
# frame included, centred on the display, whose Exit button, clicked through the scaling of the
# smaller client area, ends the game.
XVFB_SCREEN=1280x720x24
source "$(dirname "$0")/lib.sh"

SCREEN_W=1280
SCREEN_H=720
OPTIONS="$WORK/game/game data/options.ini"

# Mean brightness (0 to 1) of region WxH+X+Y of the full-screen screenshot.
brightness() { share full "$1" intensity; }

# Clicks frame pixel (X, Y) of the frame scaled into the window's client area (WIN_W x WIN_H).
click_frame() {
  local x y
  read -r x y < <(awk -v x="$1" -v y="$2" -v w="$WIN_W" -v h="$WIN_H" 'BEGIN {
    s = w / 800 < h / 600 ? w / 800 : h / 600
    printf "%d %d\n", (w - 800 * s) / 2 + x * s, (h - 600 * s) / 2 + y * s }')
  click "$x" "$y"
}

covers_display() {
  window_geometry
  [ "$WIN_X,$WIN_Y,$WIN_W,$WIN_H" = "0,0,$SCREEN_W,$SCREEN_H" ]
}
# The scaled frame shows from x = 160 to 1120, once the splash logo is gone.
frame_drawn() {
  shot full root
  awk -v a="$(brightness 8x720+162+0)" -v b="$(brightness 8x720+1110+0)" 'BEGIN { exit !(a > 0.05 && b > 0.05) }'
}

# Starts the game in full screen (more environment settings as arguments): its window is mapped,
# covers the display and shows the frame scaled by 1.2 and centred between black bars.
start_full_screen() {
  copy_game
  sed -i 's/^Screen=.*/Screen=False\r/' "$OPTIONS"
  start_game "$@"
  wait_for_window "Varnel v1.0.0"
  wait_until 10 "$WHERE: the full-screen window is never mapped" window_viewable
  wait_until 10 "$WHERE: the full-screen window does not cover the display" covers_display
  timeout 5 xdotool mousemove 640 700 || true
  wait_until 30 "$WHERE: the scaled frame does not reach from x = 160 to 1120" frame_drawn
  check "$(brightness 155x720+0+0)" "<" 0.01 "the bar left of the frame is black"
  check "$(brightness 155x720+1125+0)" "<" 0.01 "the bar right of the frame is black"
}

run_with_renderer() {
  WHERE=$1
  local driver=()
  [ "$WHERE" = software ] && driver=(SDL_RENDER_DRIVER=software)
  start_full_screen "${driver[@]}"
  # Options, then "Windowed": both clicks must land through the scaling.
  click_frame 79 101
  click_frame 370 167
  wait_until 10 "$WHERE: a click on 'Windowed' did not reach the options" grep -q '^Screen=True' "$OPTIONS"
  click_frame 79 212  # Exit
  ends_in_order 20

  # Windowed, at the next start.
  start_game "${driver[@]}"
  wait_for_window "Varnel v1.0.0"
  wait_until 10 "$WHERE: the window is never mapped" window_viewable
  local left right top bottom
  outer_ok() {
    window_geometry
    # Nothing until the window manager has framed the window.
    read -r left right top bottom < <(timeout 5 xprop -id "$WINDOW" _NET_FRAME_EXTENTS |
      sed -n 's/.*= //p' | tr -d ,)
    [ -n "$bottom" ] && [ $((WIN_W + left + right)) = 800 ] && [ $((WIN_H + top + bottom)) = 600 ] &&
      [ $((WIN_X - left)) = $(((SCREEN_W - 800) / 2)) ] && [ $((WIN_Y - top)) = $(((SCREEN_H - 600) / 2)) ]
  }
  wait_until 10 "$WHERE: the window is not 800 x 600 with its frame, centred" outer_ok
  wait_frames 200  # the splash logo fades out over the first 200 frames
  click_frame 79 212  # Exit
  ends_in_order 20
}

start_xvfb
# Without a window manager SDL makes the window cover the display itself.
WHERE="without a window manager"
start_full_screen
quit_with_escape
start_window_manager
run_with_renderer default
run_with_renderer software
echo "PASS: full screen covers the display with the frame scaled and centred, clicks land through the" \
  "scaling, and windowed mode comes back at the next start as an 800 x 600 window, centred"
