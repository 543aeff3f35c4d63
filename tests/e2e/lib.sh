# SPDX-License-Identifier: Zlib
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
# The command that starts the game, and what runs it (e.g. as another user).
GAME_COMMAND=$WORK/game/Varnel
RUN_AS=()
# A build with sanitizers runs the game a few times slower: VARNEL_E2E_PACE (a whole number)
# stretches every deadline.
PACE=${VARNEL_E2E_PACE:-1}

cleanup() {
  # The game runs under timeout, which passes TERM on and kills it outright 5 s later.
  [ -n "$GAME_PID" ] && kill -TERM "$GAME_PID" 2>/dev/null && wait "$GAME_PID" 2>/dev/null || true
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null && wait "$WM_PID" 2>/dev/null || true
  stop_sound_server
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  # A test's own last step before its files go, once the game has ended.
  ! declare -F cleanup_more >/dev/null || cleanup_more
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
  wait_until 10 "Xvfb did not start" test -s "$WORK/display"
  export DISPLAY=":$(head -n1 "$WORK/display")"
}

# Copies the game folder (to $WORK/game unless told), so every test starts with its own log, options
# and packs.
copy_game() {
  mkdir -p "${1:-$WORK/game}"
  cp -a "$GAME_DIR"/. "${1:-$WORK/game}/"
  rm -f "${1:-$WORK/game}/log.txt"
}

# Arguments are more NAME=value settings for the game's environment (they win over these). The
# player's data folder follows from HOME alone.
start_game() {
  # shellcheck disable=SC2086
  (cd /; exec "${RUN_AS[@]}" env -u XDG_DATA_HOME SDL_AUDIODRIVER=dummy TOVAK2D_QUIET_DIALOGS=1 \
     TOVAK2D_FRAME_STATS=1 "$@" timeout --kill-after=5 $((120 * PACE)) $GAME_COMMAND 2>"$WORK/stderr") &
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
  wm_ready() { timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  wait_until 10 "openbox did not take the screen (its log: $WORK/openbox.log)" wm_ready
}

# Waits until CONDITION (a command) holds, for at most SECONDS times the pace; then fails with
# MESSAGE.
wait_until() {
  local end=$((SECONDS + $1 * PACE)) message=$2
  shift 2
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || fail "$message"
    sleep 0.1
  done
}

window_viewable() { timeout 5 xwininfo -id "$WINDOW" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Sets WIN_X, WIN_Y (the client area's top-left corner on the screen), WIN_W and WIN_H.
window_geometry() {
  local info
  info=$(timeout 5 xwininfo -id "$WINDOW") || fail "xwininfo"
  eval "$(sed -n 's/^ *Absolute upper-left X: */WIN_X=/p; s/^ *Absolute upper-left Y: */WIN_Y=/p;
    s/^ *Width: */WIN_W=/p; s/^ *Height: */WIN_H=/p' <<<"$info")"
}

# Waits for the game's window titled TITLE and sets WINDOW.
wait_for_window() {
  window_found() { WINDOW=$(timeout 5 xdotool search --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$WINDOW" ]; }
  wait_until 15 "no window titled '$1'" window_found "$1"
}

# Waits up to SECONDS for the game to end, which must be in order: status 0 and the log's last line.
ends_in_order() {
  local status=0 where=${WHERE:+$WHERE: }
  game_ended() { ! kill -0 "$GAME_PID" 2>/dev/null; }
  wait_until "$1" "${where}the game did not end within $(($1 * PACE)) s" game_ended
  wait "$GAME_PID" || status=$?
  GAME_PID=
  [ "$status" = 0 ] || fail "${where}exit status $status"
  [ "$(last_log_line)" = "APPLICATION ENDED" ] || fail "${where}the log does not end with APPLICATION ENDED"
}

# Closes the game's window the way a window manager's close button does; the game must end in order.
close_window() {
  timeout 5 "$X11_WINDOW" close "$WINDOW"
  ends_in_order "$1"
}

last_log_line() { tail -n1 "$GAME_LOG" | tr -d '\r'; }

# Waits until the game's window has shown N more frames (2 when not told); a game that ended
# meanwhile is no failure here.
wait_frames() {
  timeout $((30 * PACE)) "$X11_WINDOW" frames "$WINDOW" $((${1:-2} + 1)) || [ $? = 3 ] ||
    ! kill -0 "$GAME_PID" 2>/dev/null || fail "${WHERE:+$WHERE: }fewer than ${1:-2} frames in $((30 * PACE)) s"
}

# The pointer rests, then the button is held over frames, as a hand would: the game reads the
# pointer and the button once a frame.
click() {
  timeout 5 xdotool mousemove --window "$WINDOW" "$1" "$2" && wait_frames && timeout 5 xdotool mousedown 1 &&
    wait_frames && timeout 5 xdotool mouseup 1 || fail "click at $1, $2"
}

# Strikes each KEY in its own frames: keys struck within one frame are taken in the name-entry
# table's order.
key() {
  local k
  for k in "$@"; do
    timeout 5 xdotool keydown "$k" && wait_frames && timeout 5 xdotool keyup "$k" && wait_frames || fail "key $k"
  done
}

# Takes a screenshot of the game's window (or of WINDOW) as $WORK/NAME.png.
shot() { timeout 10 import -display "$DISPLAY" -window "${2:-$WINDOW}" "$WORK/$1.png" || fail "no screenshot $1"; }

# The mean (0 to 1) over region WxH+X+Y of screenshot NAME of an fx expression on r, g, b (0 to 1):
# of a predicate, the share of the pixels for which it holds. Predicates on hue rather than exact
# colours: text blends into whatever art is beneath.
share() {
  timeout 20 convert "$WORK/$1.png" -crop "$2" +repage -alpha off -fx "$3" -colorspace gray \
    -format '%[fx:mean]' info:
}

# Takes screenshot NAME until the share of REGION for which PREDICATE holds is above LIMIT, for at
# most 20 s, then reports WHAT.
wait_for_shot() {
  shown() { shot "$1" && holds "$(share "$1" "$2" "$3")" ">" "$4"; }
  wait_until 20 "${WHERE:+$WHERE: }$5: not shown" shown "$@"
  echo "ok: ${WHERE:+$WHERE: }$5"
}

# The red halo behind the caption of menu button K (0 to 4, at y = 15 + 37 K) marks the current
# screen; a button the pointer left hides it while it fades back. Waits, with the pointer away, for
# screen K as NAME.
HALO='r - max(g, b) > 0.2'
wait_for_screen() {
  timeout 5 xdotool mousemove --window "$WINDOW" 700 580 || fail "cannot move the pointer"
  wait_for_shot "$1" "90x25+34+$((15 + 37 * $2))" "$HALO" 0.01 "$1 is the current screen"
}

# A sound server of the test's own, with one null sink whose monitor the test records; its runtime
# folder (XDG_RUNTIME_DIR) is $SOUND_RUN, its PulseAudio socket pulse/native there, which clients find
# through either. PulseAudio (the default) refuses nothing to root as long as it is a per-user server
# with a home of its own (it only warns), and anonymous access on its socket spares clients the
# cookie. "pipewire" starts PipeWire, its PulseAudio service and its session manager on a D-Bus
# session of their own, each under timeout, so that ending their timeout ends them. SOUND_PID lists
# what to end.
SOUND_RUN=$WORK/sound
SINK=varnel_test
RATE=44100
start_sound_server() {
  rm -f "$WORK/sound.pids" && mkdir -p -m 700 "$SOUND_RUN" "$SOUND_RUN/pulse" "$WORK/sound-home"
  local run=(env HOME="$WORK/sound-home" XDG_RUNTIME_DIR="$SOUND_RUN" timeout $((300 * PACE)))
  if [ "${1:-}" = pipewire ]; then
    (cd /; exec "${run[@]}" dbus-run-session -- bash -c "for p in pipewire wireplumber pipewire-pulse; do
       timeout $((300 * PACE)) \$p & echo \$! >>'$WORK/sound.pids'; done; wait" >"$WORK/sound.log" 2>&1) &
  else
    (cd /; exec "${run[@]}" pulseaudio --daemonize=no -n --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
       --load="module-null-sink sink_name=$SINK rate=$RATE" --disallow-module-loading \
       --load="module-native-protocol-unix auth-anonymous=1 socket=$SOUND_RUN/pulse/native" >"$WORK/sound.log" 2>&1) &
  fi
  SOUND_PID=$!
  export PULSE_SERVER=unix:$SOUND_RUN/pulse/native
  sink_up() { timeout 5 pactl list short sinks 2>/dev/null | grep -q "$SINK" || { [ "$1" = pipewire ] &&
    timeout 5 pactl load-module module-null-sink sink_name=$SINK rate=$RATE >/dev/null 2>&1 && false; }; }
  wait_until 15 "the sound server did not start: $(cat "$WORK/sound.log")" sink_up "${1:-}"
  SOUND_PID="$(cat "$WORK/sound.pids" 2>/dev/null || true) $SOUND_PID"
}
# Ends the sound server, by the process ids it was started with.
# shellcheck disable=SC2086
stop_sound_server() { [ -z "$SOUND_PID" ] || { kill $SOUND_PID 2>/dev/null || true; wait $SOUND_PID 2>/dev/null || true; }; SOUND_PID=; }

# Records the sink's monitor into FILE in the background (SECONDS of it, when given); sets RECORDER_PID.
start_recording() {
  (exec timeout $((20 * PACE)) parec -d "$SINK.monitor" --raw --format=s16le --rate=$RATE --channels=2 \
     --latency-msec=50 >"$1" 2>"$WORK/parec.log") &
  RECORDER_PID=$!
  recording_started() { [ -s "$1" ]; }
  wait_until 10 "the monitor cannot be recorded: $(cat "$WORK/parec.log")" recording_started "$1"
  [ -z "${2:-}" ] || { wait_recorded "$1" "$2"; stop_recording; }
}
# Waits until FILE holds SECONDS of sound (a whole number) more than BYTES.
wait_recorded() {
  recorded() { [ "$(stat -c %s "$1")" -ge $((${3:-0} + $2 * RATE * 4)) ]; }
  wait_until $((10 + $2)) "the recording stalled: $(cat "$WORK/parec.log")" recorded "$@"
}
stop_recording() {
  kill "$RECORDER_PID" 2>/dev/null || true
  wait "$RECORDER_PID" 2>/dev/null || true
}

# The RMS or the Maximum (peak) amplitude, 0 to 1, of raw sound: an effect is short beside the
# second recorded after it, so it is judged by its peak.
amplitude() {
  timeout 20 sox -t raw -r $RATE -e signed -b 16 -c 2 "$2" -n stat 2>&1 | sed -n "s/^$1 *amplitude: *//p"
}
SILENT=0.001
# Records a second into FILE until its STAT (RMS or Maximum) amplitude is OP (> or <) LIMIT, for
# at most 20 s; then reports WHAT.
wait_for_sound() {
  heard() { start_recording "$1" 1 && holds "$(amplitude "$2" "$1")" "$3" "$4"; }
  wait_until 20 "not so: $5" heard "$@"
  echo "ok: $5 ($(amplitude "$2" "$1") $3 $4)"
}

# holds VALUE OP LIMIT: VALUE > or < LIMIT.
holds() { awk -v v="$1" -v op="$2" -v t="$3" 'BEGIN { exit !(op == ">" ? v > t : v < t) }'; }

# check VALUE OP LIMIT WHAT: VALUE > or < LIMIT, else the test fails; WHERE prefixes the messages.
check() {
  holds "$1" "$2" "$3" || fail "${WHERE:+$WHERE: }$4 (measured $1, expected $2 $3)"
  echo "ok: ${WHERE:+$WHERE: }$4 ($1 $2 $3)"
}

# Ends the game with Escape and checks that it ended in order.
quit_with_escape() {
  key Escape
  ends_in_order 15
}

# Sets POINTS to the screen point of the middle of each difference of level 1 of PACK on the
# original picture, whose top-left corner is at X, Y, and MISS to a point near that corner, on no
# difference. The rectangles are read from the pack's picinfo.ini, which the archive holds as text.
pack_points() {
  local x=$2 y=$3 d left right top bottom
  POINTS=()
  MISS="$((x + 3)) $((y + 3))"
  for d in 1 2 3 4 5; do
    read -r left right top bottom < <(for edge in Left Right Top Bottom; do
      sed -n "s/^$d$edge=\([0-9]*\)\r$/\1/p" "$1"
    done | xargs)
    [ -n "$bottom" ] || fail "picinfo.ini lacks rectangle $d"
    POINTS+=("$((x + (left + right) / 2)) $((y + (top + bottom) / 2))")
    [ "$left" -gt 3 ] || [ "$top" -gt 3 ] || fail "difference $d covers the point for misses"
  done
}

# Clicks the pack on the Start Game screen, then START (at X) and waits for the pictures to fade in.
open_pack() {
  click 79 27         # Start Game
  click 500 "$ROW_Y"  # the pack
  click "$1" 445      # START
  wait_frames 110     # the fade takes 100 frames
}

# On a horizontal pack: clicks each of POINTS and waits until its numbered mark beside the
# pictures turns from red to green, so that a click the game did not take is named where it
# happened; then waits for the pack-completed panel's green title.
find_all_horizontal() {
  local marks=(47 169 301 434 557) d=0 point
  for point in "${POINTS[@]}"; do
    # shellcheck disable=SC2086
    click $point
    wait_for_shot "found$d" "16x16+264+$((marks[d] - 8))" 'g - max(r, b) > 0.25' 0.3 \
      "$LAYOUT: difference $((d + 1)) is marked found"
    d=$((d + 1))
  done
  wait_for_shot welldone "300x40+380+50" 'g - max(r, b) > 0.25' 0.05 "$LAYOUT: the pack-completed panel shows"
}

# Plays a level of the first pack to its end, on a picture shown ZOOM times (1 when not told): clicks
# the middle of the first difference of every level (upright: the original picture's top-left
# corner at 185, 100), read from the rectangles the pack holds as plain text, then misses until the
# time runs out.
play_to_the_end() {
  local z=${1:-1} pack point
  pack=$(cd "$WORK/game/packs" && ls | sort -f | head -n1)
  mapfile -t FINDS < <(grep -a -E '^1(Left|Right|Top|Bottom)=' "$WORK/game/packs/$pack" | tr -d '\r' | cut -d= -f2 |
    paste - - - - | awk -v z="$z" '{ print z * (185 + int(($1 + $2) / 2)), z * (100 + int(($3 + $4) / 2)) }')
  [ ${#FINDS[@]} -gt 0 ] || fail "no difference found in $pack"
  click $((79 * z)) $((27 * z))    # Start Game
  click $((500 * z)) $((184 * z))  # the first pack
  click $((460 * z)) $((445 * z))  # START
  wait_frames 110                  # the picture fades in over 100 frames
  # shellcheck disable=SC2086
  for point in "${FINDS[@]}"; do click $point; done
  for _ in $(seq 20); do click $((190 * z)) $((105 * z)); done
  wait_frames 25
}

# On the name entry: types KEYS, confirms, and checks that the table holds NAME first; sets SCORE.
enter_name() {
  local name=$1
  shift
  # "Please enter your name" in green: the keys go to the name entry, not to the panel before it.
  wait_for_shot entry "120x20+105+104" 'g - max(r, b) > 0.25' 0.05 "$LAYOUT: the name entry shows"
  key "$@"
  key Return
  timeout 5 xdotool mousemove --window "$WINDOW" 500 "$ROW_Y" || fail "mousemove"
  local copy="$WORK/game/$((INDEX - 1))hscore.ini"
  wait_until 10 "$LAYOUT: typed '$*', the table does not hold $name first" \
    grep -q $'1_name='"$name"$'\r' "$copy"
  SCORE=$(sed -n 's/^1_score=\([0-9]*\)\r$/\1/p' "$copy")
  echo "ok: $LAYOUT: typed $*, stored $name with $SCORE points"
}

