#!/usr/bin/env bash
# Full screen and windowed mode under a window manager, on the OpenGL and the software renderer
# (and full screen once without a window manager).
# Started in full screen (Screen=False), the window is mapped, covers the whole 1280 x 720 display
# and shows the 800 x 600 frame scaled by 1.2 between black bars; the credits stand where the
# scaled frame puts them. Clicks go through the scaling: Options, then its "Windowed" choice,
# then Exit. The next start is windowed: an 800 x 600 window, frame included, centred on the
# display, whose frame shows the credits at the same size as before, scaled down, and whose Exit
# button ends the game.
XVFB_SCREEN=1280x720x24
source "$(dirname "$0")/lib.sh"

SCREEN_W=1280
SCREEN_H=720
OPTIONS="$WORK/game/game data/options.ini"

# The bounding box (WxH+X+Y) of the pixels of region WxH+X+Y of a screenshot for which an fx
# predicate holds; empty when there are none.
box_of() {
  timeout 20 convert "$1" -crop "$2" +repage -alpha off -fx "$3 ? 1 : 0" -format '%@' info: 2>/dev/null |
    grep -E '^[1-9][0-9]*x[0-9]+\+[0-9]+\+[0-9]+$' || true
}
# Mean brightness (0 to 1) of region WxH+X+Y.
brightness() {
  timeout 20 convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:mean]' info:
}
# The credits heading "DEVELOPED BY" (blue letters centred in the box 180..800 of the frame's top
# line), in a screenshot SHOT of an area showing the frame scaled by SCALE with its top-left corner
# at FRAME_X, FRAME_Y. Sets TITLE_CENTRE and TITLE_WIDTH, in frame pixels; fails while the splash
# logo still covers it.
BLUE='b > 0.6 && b - r > 0.2'
find_title() {
  local shot=$1 scale=$2 frame_x=$3 frame_y=$4
  local region box
  region=$(awk -v s="$scale" -v fx="$frame_x" -v fy="$frame_y" \
    'BEGIN { printf "%dx%d+%d+%d", 620 * s, 30 * s, fx + 180 * s, fy + 4 * s }')
  box=$(box_of "$shot" "$region" "$BLUE")
  [ -n "$box" ] || return 1
  read -r TITLE_CENTRE TITLE_WIDTH < <(awk -v b="$box" -v s="$scale" 'BEGIN {
    split(b, p, /[x+]/); printf "%.1f %.1f\n", 180 + (p[3] + p[1] / 2) / s, p[1] / s }')
  # Anything else is the logo's art fading out.
  awk -v w="$TITLE_WIDTH" 'BEGIN { exit !(w > 120 && w < 230) }'
}

# find_title, once two screenshots in a row agree on the heading: while the splash logo fades out,
# its art can join the heading's box. PREVIOUS_WIDTH is emptied before each series.
PREVIOUS_WIDTH=
steady_title() {
  if ! find_title "$@"; then
    PREVIOUS_WIDTH=
    return 1
  fi
  local previous=$PREVIOUS_WIDTH
  PREVIOUS_WIDTH=$TITLE_WIDTH
  [ -n "$previous" ] && awk -v a="$previous" -v b="$TITLE_WIDTH" 'BEGIN { d = a - b; exit !(d < 1.5 && d > -1.5) }'
}

# Frame pixel (X, Y) on the screen, for a frame scaled into an area at LEFT,TOP of W x H.
to_screen() {
  awk -v x="$1" -v y="$2" -v l="$3" -v t="$4" -v w="$5" -v h="$6" 'BEGIN {
    s = w / 800 < h / 600 ? w / 800 : h / 600
    printf "%d %d\n", l + (w - 800 * s) / 2 + x * s, t + (h - 600 * s) / 2 + y * s }'
}

click_frame() {
  local x y
  read -r x y < <(to_screen "$1" "$2" "$FRAME_LEFT" "$FRAME_TOP" "$FRAME_W" "$FRAME_H")
  timeout 5 xdotool mousemove "$x" "$y" || fail "cannot move the pointer"
  pause 0.2
  timeout 5 xdotool mousedown 1 || fail "mouse down"
  pause 0.06
  timeout 5 xdotool mouseup 1 || fail "mouse up"
  pause 0.2
}

options_windowed() { grep -q '^Screen=True' "$OPTIONS"; }
frame_known() {
  timeout 5 xprop -id "$WINDOW" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '= [0-9]'
}

# Screenshots of WHAT (root or a window) into SHOT until the credits heading shows steady in a
# frame scaled by SCALE at FRAME_X, FRAME_Y (the last three arguments); else fails with MESSAGE.
await_title() {
  local what=$1 shot=$2 message=$3
  shift 3
  pause 4  # the splash logo fades out over the first 4 s
  PREVIOUS_WIDTH=
  for _ in $(seq $((30 * PACE))); do
    timeout 10 import -display "$DISPLAY" -window "$what" "$shot" || fail "no screenshot"
    steady_title "$shot" "$@" && return 0
    sleep 0.5
  done
  fail "$WHERE: $message"
}

covers_display() {
  window_geometry
  [ "$WIN_X,$WIN_Y,$WIN_W,$WIN_H" = "0,0,$SCREEN_W,$SCREEN_H" ]
}

# Starts the game in full screen (more environment settings as arguments): its window is mapped,
# covers the display and shows the frame scaled by 1.2 and centred. Sets SHOT and FULL_WIDTH.
start_full_screen() {
  copy_game
  sed -i 's/^Screen=.*/Screen=False\r/' "$OPTIONS"
  grep -q '^Screen=False' "$OPTIONS" || fail "cannot set full screen in the options"
  start_game "$@"
  wait_for_window "Varnel v1.0.0"
  wait_until 10 "$WHERE: the full-screen window is never mapped" window_viewable
  wait_until 10 "$WHERE: the full-screen window does not cover the display" covers_display
  timeout 5 xdotool mousemove 640 700 || true
  SHOT="$WORK/full-${WHERE// /_}.png"
  await_title root "$SHOT" "the credits never show in full screen" 1.2 160 0
  FULL_WIDTH=$TITLE_WIDTH
  check "$(awk -v c="$TITLE_CENTRE" 'BEGIN { print (c > 490 ? c - 490 : 490 - c) }')" "<" 4 \
    "the credits heading is centred in its box of the scaled frame (centre at $TITLE_CENTRE)"
}

run_with_renderer() {
  WHERE=$1
  local driver=()
  [ "$WHERE" = software ] && driver=(SDL_RENDER_DRIVER=software)
  start_full_screen "${driver[@]}"
  check "$(brightness "$SHOT" 155x720+0+0)" "<" 0.01 "the bar left of the frame is black"
  check "$(brightness "$SHOT" 155x720+1125+0)" "<" 0.01 "the bar right of the frame is black"
  check "$(brightness "$SHOT" 8x720+162+0)" ">" 0.05 "the frame begins at the left bar"
  check "$(brightness "$SHOT" 8x720+1110+0)" ">" 0.05 "the frame ends at the right bar"

  # Options, then "Windowed": both clicks must land through the scaling.
  FRAME_LEFT=0 FRAME_TOP=0 FRAME_W=$SCREEN_W FRAME_H=$SCREEN_H
  click_frame 79 101
  pause 0.5
  click_frame 370 167
  wait_until 10 "$WHERE: a click on 'Windowed' did not reach the options" options_windowed
  click_frame 79 212  # Exit
  wait_for_exit 20
  [ "$GAME_STATUS" = 0 ] || fail "$WHERE: exit status $GAME_STATUS from full screen"

  # Windowed, at the next start.
  start_game "${driver[@]}"
  wait_for_window "Varnel v1.0.0"
  wait_until 10 "$WHERE: the window is never mapped" window_viewable
  wait_until 10 "$WHERE: the window manager never framed the window" frame_known
  local extents left right top bottom outer_ok
  outer_ok() {
    window_geometry
    extents=$(timeout 5 xprop -id "$WINDOW" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r left right top bottom <<<"$extents"
    [ $((WIN_W + left + right)) = 800 ] && [ $((WIN_H + top + bottom)) = 600 ] &&
      [ $((WIN_X - left)) = $(((SCREEN_W - 800) / 2)) ] && [ $((WIN_Y - top)) = $(((SCREEN_H - 600) / 2)) ]
  }
  wait_until 10 "$WHERE: the window is not 800 x 600 with its frame, centred" outer_ok
  echo "ok ($WHERE): windowed, client ${WIN_W}x$WIN_H at $WIN_X,$WIN_Y, frame $left $right $top $bottom"
  timeout 5 xprop -id "$WINDOW" _NET_WM_STATE | grep -q FULLSCREEN && fail "$WHERE: still in full screen"

  local scale
  scale=$(awk -v w="$WIN_W" -v h="$WIN_H" 'BEGIN { s = w / 800 < h / 600 ? w / 800 : h / 600; print s }')
  FRAME_LEFT=$WIN_X FRAME_TOP=$WIN_Y FRAME_W=$WIN_W FRAME_H=$WIN_H
  await_title "$WINDOW" "$WORK/window-$WHERE.png" "the credits never show in the window" "$scale" \
    "$(awk -v w="$WIN_W" -v s="$scale" 'BEGIN { print (w - 800 * s) / 2 }')" \
    "$(awk -v h="$WIN_H" -v s="$scale" 'BEGIN { print (h - 600 * s) / 2 }')"
  check "$(awk -v a="$TITLE_WIDTH" -v b="$FULL_WIDTH" 'BEGIN { d = a - b; print (d < 0 ? -d : d) }')" "<" 6 \
    "the heading has the same size in frame pixels in both modes ($TITLE_WIDTH and $FULL_WIDTH)"
  click_frame 79 212  # Exit
  wait_for_exit 20
  [ "$GAME_STATUS" = 0 ] || fail "$WHERE: exit status $GAME_STATUS from the window"
  [ "$(last_log_line)" = "APPLICATION ENDED" ] || fail "$WHERE: the log does not end with APPLICATION ENDED"
}

start_xvfb
# Without a window manager SDL makes the window cover the display itself.
WHERE="without a window manager"
start_full_screen
key Escape
wait_for_exit 20
[ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS without a window manager"
start_window_manager
run_with_renderer default
run_with_renderer software
echo "PASS: full screen covers the display with the frame scaled and centred, clicks land through the" \
  "scaling, and windowed mode comes back at the next start as an 800 x 600 window, centred"
