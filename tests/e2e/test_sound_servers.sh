#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The game started before its sound server, on SDL's own choice of driver: once with PulseAudio,
# once with PipeWire (its PulseAudio service and session manager). Without a device the log says so
# and the Options screen tells the player; the music is heard on the server's null sink once the
# server is up, and again after the server was ended and started anew during play; libasound prints
# nothing on standard error.
source "$(dirname "$0")/lib.sh"

start_xvfb
copy_game
sed -i 's/^Music=.*/Music=True\r/; s/^Sound=.*/Sound=True\r/' "$WORK/game/game data/options.ini"
# A game of the test's never has a server started for it.
echo "autospawn = no" >"$WORK/client.conf"
NOTE='r - max(g, b) > 0.35' AT=420x50+300+400  # the Options screen's note on the missing device
lost() { [ "$(grep -ac "^Desktop: .*, no sound device (" "$GAME_LOG")" = "$1" ]; }

for server in pulseaudio pipewire; do
  WHERE=$server
  rm -f "$GAME_LOG"
  start_game SDL_AUDIODRIVER= HOME="$WORK/sound-home" XDG_RUNTIME_DIR="$SOUND_RUN" PULSE_CLIENTCONFIG="$WORK/client.conf"
  wait_for_window "Varnel v1.0.0"
  wait_until 10 "no device is not logged" grep -aq "^Error in Initilize_Soundcard() : " "$GAME_LOG"
  click 79 101  # Options
  wait_for_shot none $AT "$NOTE" 0.01 "the Options screen says there is no sound device"
  for round in 1 2; do
    start_sound_server "$server"
    wait_for_sound "$WORK/music.raw" RMS ">" 0.01 "the music is heard once the server is up ($round)"
    wait_for_shot found $AT "r - max(g, b) < 0.35" 0.9999 "the note is gone"
    stop_sound_server
    wait_until 10 "the lost device is not logged" lost $round
  done
  wait_for_shot again $AT "$NOTE" 0.01 "the Options screen says so again"
  quit_with_escape
  ! grep -a "ALSA lib" "$WORK/stderr" || fail "libasound wrote on standard error"
done
echo "PASS: PulseAudio and PipeWire started after the game, and again after their end, brought its music"
