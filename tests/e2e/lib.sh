# Shared by the end-to-end tests: a private Xvfb, a private copy of the game folder, and waiting
# with a deadline for everything.
set -euo pipefail

GAME_DIR=$1
X11_WINDOW=$2
WORK=$(mktemp -d /tmp/varnel-e2e-XXXXXX)
XVFB_PID=
GAME_PID=
WM_PID=
SOUND_PID=
GAME_LOG=$WORK/game/log.txt
# A build with sanitizers runs the game a few times slower: VARNEL_E2E_PACE (a whole number)
# stretches every pause that waits for the game to reach a number of passes, and every deadline.
PACE=${VARNEL_E2E_PACE:-1}

# Sleeps SECONDS times the pace.
pause() { sleep "$(awk -v s="$1" -v p="$PACE" 'BEGIN { print s * p }')"; }

cleanup() {
  # The game runs under timeout, which passes TERM on and kills it outright 5 s later.
  [ -n "$GAME_PID" ] && kill -TERM "$GAME_PID" 2>/dev/null && wait "$GAME_PID" 2>/dev/null || true
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null && wait "$WM_PID" 2>/dev/null || true
  [ -n "$SOUND_PID" ] && kill "$SOUND_PID" 2>/dev/null && wait "$SOUND_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$GAME_LOG" ] && { echo "--- log.txt" >&2; cat "$GAME_LOG" >&2; }
  [ -f "$WORK/stderr" ] && { echo "--- stderr" >&2; cat "$WORK/stderr" >&2; }
  exit 1
}

start_xvfb() {
  # -displayfd picks a free display number; -noreset keeps the server up between clients.
  exec 9>"$WORK/display"
  Xvfb -displayfd 9 -noreset -nolisten tcp -screen 0 "${XVFB_SCREEN:-1024x768x24}" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.1
  done
  [ -s "$WORK/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$WORK/display")"
}

# Copies the game folder, so every test starts with its own log, options and packs.
copy_game() {
  mkdir -p "$WORK/game"
  cp -a "$GAME_DIR"/. "$WORK/game/"
  rm -f "$WORK/game/log.txt"
}

# Arguments are more NAME=value settings for the game's environment (they win over these).
start_game() {
  (cd /; exec env SDL_AUDIODRIVER=dummy TOVAK2D_QUIET_DIALOGS=1 TOVAK2D_FRAME_STATS=1 "$@" \
     timeout --kill-after=5 $((120 * PACE)) "$WORK/game/Varnel" 2>"$WORK/stderr") &
  GAME_PID=$!
}

# Runs the game at PATH headless to its end, which must be a refusal to start (its standard error
# goes to FILE); sets STATUS.
run_refused() {
  STATUS=0
  (cd /; exec env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy TOVAK2D_QUIET_DIALOGS=1 \
     timeout --kill-after=5 $((60 * PACE)) "$1") 2>"$2" || STATUS=$?
  [ "$STATUS" != 0 ] || fail "the game ended with status 0"
  [ "$STATUS" != 124 ] && [ "$STATUS" != 137 ] || fail "the game had to be killed"
}

# Runs a window manager (openbox, with no settings of the user's) on the test's display until the
# test ends, and waits until it manages the screen.
start_window_manager() {
  command -v openbox >/dev/null || fail "openbox is not installed"
  mkdir -p "$WORK/config"
  (cd /; exec env HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" \
     timeout $((300 * PACE)) openbox --sm-disable >"$WORK/openbox.log" 2>&1) &
  WM_PID=$!
  for _ in $(seq $((100 * PACE))); do
    timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$WM_PID" 2>/dev/null || fail "openbox ended: $(cat "$WORK/openbox.log")"
    sleep 0.1
  done
  fail "openbox did not take the screen"
}

# Waits until CONDITION (a command) holds, for at most SECONDS times the pace; then fails with
# MESSAGE.
wait_until() {
  local seconds=$1 message=$2
  shift 2
  for _ in $(seq $((seconds * PACE * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  fail "$message"
}

window_viewable() { timeout 5 xwininfo -id "$WINDOW" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Sets WIN_X, WIN_Y (the client area's top-left corner on the screen), WIN_W and WIN_H.
window_geometry() {
  local info
  info=$(timeout 5 xwininfo -id "$WINDOW") || fail "xwininfo"
  WIN_X=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  WIN_Y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  WIN_W=$(sed -n 's/^ *Width: *//p' <<<"$info")
  WIN_H=$(sed -n 's/^ *Height: *//p' <<<"$info")
}

wait_for_window() {
  local title=$1
  for _ in $(seq 150); do
    if WINDOW=$(timeout 5 "$X11_WINDOW" find "$title"); then return 0; fi
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
    sleep 0.1
  done
  fail "no window titled '$title'"
}

# Waits for the game to end and sets GAME_STATUS.
wait_for_exit() {
  local seconds=$(($1 * PACE))
  for _ in $(seq $((seconds * 10))); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end within $seconds s"
  GAME_STATUS=0
  wait "$GAME_PID" || GAME_STATUS=$?
  GAME_PID=
}

last_log_line() { tail -n1 "$WORK/game/log.txt" | tr -d '\r'; }

# A one-level pack of known rectangles, so the test knows where the differences are.
make_trial_pack() {
  local dir=$WORK/trial
  mkdir -p "$dir"
  timeout 20 convert -size 256x380 xc:'#3a6ea5' "BMP3:$dir/1.bmp" || fail "convert"
  timeout 20 convert -size 256x380 xc:'#3a6ea5' -fill '#e0c040' \
    -draw 'rectangle 40,40 80,80' -draw 'rectangle 150,40 190,80' -draw 'rectangle 40,200 80,240' \
    -draw 'rectangle 150,200 190,240' -draw 'rectangle 90,300 130,340' "BMP3:$dir/1x.bmp" || fail "convert"
  printf '[General]\r\nNumOfLevels=1\r\nVertical=True\r\nPackInfo=A trial pack\r\n' >"$dir/packinfo.ini"
  {
    printf '[1]\r\n'
    local d=1
    for rect in "40 80 40 80" "150 190 40 80" "40 80 200 240" "150 190 200 240" "90 130 300 340"; do
      set -- $rect
      printf '%dLeft=%s\r\n%dRight=%s\r\n%dTop=%s\r\n%dBottom=%s\r\n' $d "$1" $d "$2" $d "$3" $d "$4"
      d=$((d + 1))
    done
    printf 'PicInfo=Five yellow squares\r\n'
  } >"$dir/picinfo.ini"
  local pack=$WORK/game/packs/Trial.vnl
  : >"$pack"
  for entry in packinfo.ini picinfo.ini 1.bmp 1x.bmp; do
    printf '`*[S-P-L-I-T]*`!%s`*[H-E-R-E]*`!' "$entry" >>"$pack"
    cat "$dir/$entry" >>"$pack"
  done
}

click() {
  timeout 5 xdotool mousemove --window "$WINDOW" "$1" "$2" || fail "mousemove"
  pause 0.15
  # Held for a few frames, as a hand would: the game reads the button once a frame.
  timeout 5 xdotool mousedown 1 || fail "mouse down"
  pause 0.06
  timeout 5 xdotool mouseup 1 || fail "mouse up"
  pause 0.15
}

key() {
  # A typist's pace: keys struck within one frame are taken in the name-entry table's order.
  timeout 5 xdotool key --delay $((120 * PACE)) "$@" || fail "key $*"
  pause 0.15
}

# Screenshot of the game's window as $WORK/NAME.png; VARNEL_E2E_SHOTS names a folder that keeps a
# copy for a person to look at.
shot() {
  timeout 10 import -display "$DISPLAY" -window "$WINDOW" "$WORK/$1.png" || fail "no screenshot $1"
  [ -z "${VARNEL_E2E_SHOTS:-}" ] || cp "$WORK/$1.png" "$VARNEL_E2E_SHOTS/"
}

# check VALUE OP LIMIT WHAT: VALUE > or < LIMIT, else the test fails; WHERE prefixes the messages.
check() {
  awk -v v="$1" -v op="$2" -v t="$3" 'BEGIN { exit !(op == ">" ? v > t : v < t) }' ||
    fail "${WHERE:+$WHERE: }$4 (measured $1, expected $2 $3)"
  echo "ok: ${WHERE:+$WHERE: }$4 ($1 $2 $3)"
}

# The screen y of PACK's row on the Start Game and High Scores screens; sets INDEX too.
pack_row() {
  INDEX=$(cd "$WORK/game/packs" && ls | sort -f | grep -n -x "$1" | cut -d: -f1)
  ROW_Y=$((175 + 20 * (INDEX - 1) + 9))
}

# Ends the game with Escape and checks that it ended in order.
quit_with_escape() {
  key Escape
  wait_for_exit 15
  [ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS"
  [ "$(last_log_line)" = "APPLICATION ENDED" ] || fail "the log does not end with APPLICATION ENDED"
}
