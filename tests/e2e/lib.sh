# Shared by the end-to-end tests: a private Xvfb, a private copy of the game folder, and waiting
# with a deadline for everything.
set -euo pipefail

GAME_DIR=$1
X11_WINDOW=$2
WORK=$(mktemp -d /tmp/varnel-e2e-XXXXXX)
XVFB_PID=
GAME_PID=
# A build with sanitizers runs the game a few times slower: VARNEL_E2E_PACE (a whole number)
# stretches every pause that waits for the game to reach a number of passes, and every deadline.
PACE=${VARNEL_E2E_PACE:-1}

# Sleeps SECONDS times the pace.
pause() { sleep "$(awk -v s="$1" -v p="$PACE" 'BEGIN { print s * p }')"; }

cleanup() {
  # The game runs under timeout, which passes TERM on and kills it outright 5 s later.
  [ -n "$GAME_PID" ] && kill -TERM "$GAME_PID" 2>/dev/null && wait "$GAME_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/game/log.txt" ] && { echo "--- log.txt" >&2; cat "$WORK/game/log.txt" >&2; }
  [ -f "$WORK/stderr" ] && { echo "--- stderr" >&2; cat "$WORK/stderr" >&2; }
  exit 1
}

start_xvfb() {
  # -displayfd picks a free display number; -noreset keeps the server up between clients.
  exec 9>"$WORK/display"
  Xvfb -displayfd 9 -noreset -nolisten tcp -screen 0 1024x768x24 >"$WORK/xvfb.log" 2>&1 &
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

start_game() {
  (cd /; exec env SDL_AUDIODRIVER=dummy TOVAK2D_QUIET_DIALOGS=1 TOVAK2D_FRAME_STATS=1 \
     timeout --kill-after=5 $((120 * PACE)) "$WORK/game/Varnel" 2>"$WORK/stderr") &
  GAME_PID=$!
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
