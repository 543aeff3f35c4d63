#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Names typed on the keyboards players have, in one run of the game: a Russian and a Greek layout
# type Latin letters by the keys' places, German keeps its own letters, "Zoë" typed by xdotool and
# the French layout's é and dead circumflex keep their accents (the table stores Windows-1252).
# Then the X server goes away during play: the game ends in order and the pack holds every name.
source "$(dirname "$0")/lib.sh"

start_xvfb
copy_game
TABLE=$WORK/game/0hscore.ini
start_game
wait_for_window "Varnel v1.0.0"
timeout 5 xdotool windowfocus "$WINDOW" 2>/dev/null || true
wait_for_screen credits 4  # the splash logo has faded out and the catalogue is built

# On LAYOUT, plays a game and enters a name with "key" ARGS (or "type" TEXT): the table must hold
# NAME (Windows-1252, as a printf format).
name_on() {
  local layout=$1 name=$2 how=$3
  shift 3
  timeout 10 setxkbmap -display "$DISPLAY" "$layout" || fail "setxkbmap $layout"
  play_to_the_end
  click 460 445  # SUBMIT SCORE
  key BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
  if [ "$how" = type ]; then
    timeout 5 xdotool type --delay $((120 * PACE)) "$1" || fail "xdotool type $1"
  else
    key "$@"
  fi
  key Return
  # shellcheck disable=SC2059
  stored() { grep -aqF "_name=$(printf "$name")"$'\r' "$TABLE"; }
  wait_until 5 "$layout: typed '$*', the table lacks $name: $(grep -a '_name=' "$TABLE" | tr -d '\r' | xargs)" stored
  echo "ok: $layout: typed '$*', stored $name"
}

# The keys where Z, O, T and Y sit.
name_on ru Zoty key Cyrillic_ya Cyrillic_shcha Cyrillic_ie Cyrillic_en
name_on gr Zoty key Greek_zeta Greek_omicron Greek_tau Greek_upsilon
[ "$(grep -ac '_name=Zoty' "$TABLE")" = 2 ] || fail "the Greek name was not stored beside the Russian one"
name_on de Zoey key z o e y
name_on us 'Zo\xeb' type "Zoë"
name_on fr 'R\xean\xe9' key r dead_circumflex e n eacute

# The X server goes away during play.
click 79 27
click 500 184
click 460 445
wait_frames 110
kill -KILL "$XVFB_PID"
XVFB_PID=
WHERE="X server gone during play" ends_in_order 15
for name in Zoty Zoey 'Zo\xeb' 'R\xean\xe9'; do
  # shellcheck disable=SC2059
  grep -aqF "_name=$(printf "$name")"$'\r' "$WORK/game/packs/"*.vnl || fail "the pack lacks $name"
done
echo "PASS: names typed on Russian, Greek, German, US and French layouts, accents kept; the game outlives its display"
