#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# A 3840 x 2160 screen under openbox whose desktop asks for 200 % and then 150 % (Xft.dpi 192 and
# 144, loaded with xrdb): the windowed game's outer size is 800 x 600 times the scale, centred,
# its frame inside; at 200 % the picture is sharp (each frame row drawn on whole window rows, so
# that neighbouring rows repeat; scaled smoothly at 150 % they do not), the log names the scale,
# and a click on Options lands.
source "$(dirname "$0")/lib.sh"

XVFB_SCREEN=3840x2160x24
start_xvfb
start_window_manager
copy_game

# The share of the client area's rows (bars left out) that repeat the row above them.
repeated_rows() {
  timeout 20 import -silent -window "$WINDOW" -depth 8 "$WORK/shot.rgb" || fail "import"
  python3 - "$WORK/shot.rgb" "$WIN_W" <<'EOF'
import sys
data, width = open(sys.argv[1], "rb").read(), int(sys.argv[2])
rows = [data[i:i + width * 3] for i in range(0, len(data), width * 3)]
rows = [r for r in rows if r.count(0) < len(r) * 0.9]
print(sum(a == b for a, b in zip(rows, rows[1:])) / max(len(rows) - 1, 1))
EOF
}

OPTIONS="$WORK/game/game data/options.ini"
# The window point of frame point X, Y: the frame fills the client area as far as its shape allows.
scaled() {
  awk -v x="$1" -v y="$2" -v w="$WIN_W" -v h="$WIN_H" 'BEGIN { f = w / 800 < h / 600 ? w / 800 : h / 600
    vw = int(800 * f + 1e-6); vh = int(600 * f + 1e-6)
    print int((w - vw) / 2 + (x + 0.5) * vw / 800), int((h - vh) / 2 + (y + 0.5) * vh / 600) }'
}

for dpi in 192 144; do
  scale=$(awk -v d=$dpi 'BEGIN { print d / 96 }')
  WHERE="Xft.dpi $dpi"
  echo "Xft.dpi: $dpi" | timeout 5 xrdb -merge || fail "xrdb"
  sed -i 's/^Music=.*/Music=True\r/' "$OPTIONS"
  start_game
  wait_for_window "Varnel v1.0.0"
  wait_until 10 "the window is not shown" window_viewable
  wait_frames 200  # the splash logo fades out; the window manager has placed the window
  window_geometry
  read -r left right top bottom < <(timeout 5 xprop -id "$WINDOW" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  outer_w=$((WIN_W + left + right)) outer_h=$((WIN_H + top + bottom))
  [ "$outer_w $outer_h" = "$(awk -v s="$scale" 'BEGIN { print 800 * s, 600 * s }')" ] ||
    fail "$WHERE: the window is $outer_w x $outer_h with its frame (client $WIN_W x $WIN_H)"
  [ $((WIN_X - left)) = $(((3840 - outer_w) / 2)) ] || fail "$WHERE: the window is not centred"
  grep -aq "^Desktop: .*, scale $scale"$'\r' "$GAME_LOG" || fail "$WHERE: the log does not name scale $scale"
  shares[$dpi]=$(repeated_rows)
  echo "ok: $WHERE: window $outer_w x $outer_h, rows repeating: ${shares[$dpi]}"
  # Options, then GAME MUSIC: OFF, at their places in the scaled picture.
  click $(scaled 79 101)
  click $(scaled 650 217)
  music_off() { grep -aq $'^Music=False\r' "$OPTIONS"; }
  wait_until 5 "$WHERE: the clicks on Options and GAME MUSIC: OFF did not land" music_off
  quit_with_escape
  rm -f "$GAME_LOG"
done
WHERE=
check "${shares[192]}" ">" 0.4 "at 200 % the picture is drawn sharp"
check "${shares[144]}" "<" 0.2 "at 150 % the picture is scaled smoothly"
echo "PASS: the window follows the desktop's scale, sharp at 200 %, smooth at 150 %"
