#!/usr/bin/env bash
# The game's sound through a real sound server: a PulseAudio of the test's own (its runtime folder
# and socket in the test's folder) with one null sink, whose monitor the test records. The music
# is heard on the credits screen; the Options screen's GAME MUSIC OFF silences it; then, in a
# level, a click on a difference plays its effect: the sink is silent before the click and loud
# right after it. The menu buttons have no sound of their own, so the click is one on a picture.
#
# PulseAudio refuses nothing to root as long as it is a per-user server with a home and runtime
# folder of its own (it only warns that it is not meant to run as root; --system would need the
# system's pulse user and folders). Clients find it through PULSE_SERVER, and anonymous access on
# its socket spares them the cookie.
source "$(dirname "$0")/lib.sh"

command -v pulseaudio >/dev/null || fail "pulseaudio is not installed"
command -v parec >/dev/null || fail "parec (pulseaudio-utils) is not installed"
command -v sox >/dev/null || fail "sox is not installed"

PULSE=$WORK/pulse
SINK=varnel_test
RATE=44100
BYTES_PER_SECOND=$((RATE * 4))  # 16-bit stereo

start_sound_server() {
  mkdir -p "$PULSE/home" && mkdir -m 700 "$PULSE/run"
  (cd /; exec env HOME="$PULSE/home" XDG_RUNTIME_DIR="$PULSE/run" XDG_CONFIG_HOME="$PULSE/home" \
     timeout $((300 * PACE)) pulseaudio --daemonize=no -n --exit-idle-time=-1 --use-pid-file=no \
     --log-target=stderr --load="module-null-sink sink_name=$SINK rate=$RATE" \
     --load="module-native-protocol-unix auth-anonymous=1 socket=$PULSE/native" \
     --disallow-module-loading >"$PULSE/server.log" 2>&1) &
  SOUND_PID=$!
  export PULSE_SERVER=unix:$PULSE/native
  sound_server_up() { timeout 5 pactl list short sinks 2>/dev/null | grep -q "$SINK"; }
  wait_until 15 "the sound server did not start: $(cat "$PULSE/server.log")" sound_server_up
}

# Records the sink's monitor into FILE in the background; sets RECORDER_PID.
start_recording() {
  (exec timeout $((20 * PACE)) parec -d "$SINK.monitor" --raw --format=s16le --rate=$RATE --channels=2 \
     --latency-msec=50 >"$1" 2>"$WORK/parec.log") &
  RECORDER_PID=$!
  recording_started() { [ -s "$1" ]; }
  wait_until 10 "the monitor cannot be recorded: $(cat "$WORK/parec.log")" recording_started "$1"
}
stop_recording() {
  kill "$RECORDER_PID" 2>/dev/null || true
  wait "$RECORDER_PID" 2>/dev/null || true
}

# RMS amplitude (0 to 1) of raw sound.
rms() {
  timeout 20 sox -t raw -r $RATE -e signed -b 16 -c 2 "$1" -n stat 2>&1 |
    sed -n 's/^RMS *amplitude: *//p'
}
# Peak amplitude (0 to 1) of raw sound: an effect is short beside the second recorded after it.
peak() {
  timeout 20 sox -t raw -r $RATE -e signed -b 16 -c 2 "$1" -n stat 2>&1 |
    sed -n 's/^Maximum amplitude: *//p'
}
check() {
  awk -v v="$1" -v op="$2" -v t="$3" 'BEGIN { exit !(op == ">" ? v > t : v < t) }' ||
    fail "$4 (measured $1, expected $2 $3)"
  echo "ok: $4 ($1 $2 $3)"
}
HEARD=0.01  # RMS of the music
LOUD=0.02   # peak of an effect (the click plays at -20 dB)
SILENT=0.001

start_xvfb
start_sound_server
copy_game
make_trial_pack
options="$WORK/game/game data/options.ini"
sed -i 's/^Music=.*/Music=True\r/; s/^Sound=.*/Sound=True\r/; s/^Screen=.*/Screen=True\r/' "$options"
start_game SDL_AUDIODRIVER=pulseaudio PULSE_SERVER="$PULSE_SERVER"
wait_for_window "Varnel v1.0.0"
grep -q "Error in Initilize_Soundcard" "$WORK/game/log.txt" && fail "no sound device"

# The music, on the credits screen.
pause 1
start_recording "$WORK/music.raw"
pause 2
stop_recording
check "$(rms "$WORK/music.raw")" ">" $HEARD "the music is heard on the sound server"

# GAME MUSIC OFF: silence.
pause 4  # the splash logo fades out
click 79 101   # Options
click 650 217  # GAME MUSIC: OFF
grep -q '^Music=False' "$options" || fail "the click on OFF did not reach the options"
pause 0.5
start_recording "$WORK/quiet.raw"
pause 1
stop_recording
check "$(rms "$WORK/quiet.raw")" "<" $SILENT "with the music off the sink is silent"

# A click on a difference in a level: silent before, the effect right after.
index=$(cd "$WORK/game/packs" && ls | sort -f | grep -n -x 'Trial.vnl' | cut -d: -f1)
click 79 27                                  # Start Game
click 500 $((175 + 20 * (index - 1) + 9))    # the trial pack
click 460 445                                # START
pause 3                                      # the pictures fade in
timeout 5 xdotool mousemove --window "$WINDOW" 245 160 || fail "mousemove"
start_recording "$WORK/click.raw"
pause 1
at_click=$(($(stat -c %s "$WORK/click.raw") / 4 * 4))
click 245 160                                # difference 1 on the original picture
pause 1.5
stop_recording
head -c "$at_click" "$WORK/click.raw" >"$WORK/before.raw"
tail -c +$((at_click + 1)) "$WORK/click.raw" >"$WORK/after.raw"
[ "$(stat -c %s "$WORK/after.raw")" -gt $((BYTES_PER_SECOND / 2)) ] || fail "too little sound recorded after the click"
check "$(peak "$WORK/before.raw")" "<" $SILENT "the sink is silent before the click"
check "$(peak "$WORK/after.raw")" ">" $LOUD "the click's effect is heard right after it"

key Escape
wait_for_exit 15
[ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS"
[ "$(last_log_line)" = "APPLICATION ENDED" ] || fail "the log does not end with APPLICATION ENDED"
echo "PASS: music and a click's effect reach a real sound server, and the music option silences it"
