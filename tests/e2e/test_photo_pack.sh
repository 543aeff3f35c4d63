#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The player makes a pack from photos inside the game, on a session bus of the test's own (no
# service of the machine can be started on it):
# - a stand-in desktop portal (below) answers the folder chooser: Cancel first (nothing happens),
#   then a folder of a photo and a text file: the new pack, the text file named with its reason,
#   the pack selected in the list; its level is played to a score the pack then holds;
# - fifty large photos: the progress bar moves, Cancel ends the tool and leaves no file;
# - without the portal, zenity (answered with the keys a player types) and a folder of text files:
#   the message, nothing written.
# VARNEL_DOCS_SHOT=FILE keeps a picture of the making for the README.
if [ -z "${VARNEL_IN_BUS:-}" ]; then
  conf=$(mktemp /tmp/varnel-bus-XXXXXX)
  sed '/servicedir/d' /usr/share/dbus-1/session.conf >"$conf"
  status=0
  timeout 300 dbus-run-session --config-file="$conf" -- env VARNEL_IN_BUS=1 bash "$0" "$@" || status=$?
  rm -f "$conf"
  exit $status
fi
source "$(dirname "$0")/lib.sh"
PORTAL_PID=
cleanup_more() { [ -z "$PORTAL_PID" ] || kill "$PORTAL_PID" 2>/dev/null || true; }

# Answers FileChooser.OpenFile with the folder named in the file ANSWER, or a cancel for "CANCEL".
cat >"$WORK/portal.py" <<'EOF'
import sys, urllib.parse, dbus, dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib
DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, code, results): pass
class Portal(dbus.service.Object):
    @dbus.service.method("org.freedesktop.portal.FileChooser", in_signature="ssa{sv}", out_signature="o",
                         sender_keyword="sender")
    def OpenFile(self, parent, title, options, sender):
        path = "/org/freedesktop/portal/desktop/request/%s/%s" % (sender[1:].replace(".", "_"), options["handle_token"])
        answer = open(sys.argv[1]).read().strip()
        print("OpenFile", title, "directory=%s" % bool(options.get("directory")), flush=True)
        request = Request(bus, path)
        uris = dbus.Array(["file://" + urllib.parse.quote(answer)], signature="s")
        GLib.idle_add(lambda: request.Response(1 if answer == "CANCEL" else 0, {"uris": uris}) and False)
        return dbus.ObjectPath(path)
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
Portal(bus, "/org/freedesktop/portal/desktop")
print("ready", flush=True)
GLib.MainLoop().run()
EOF

SAMPLES=/usr/lib/python3/dist-packages/skimage/data
start_xvfb
copy_game
mkdir -p "$WORK/Sea Shore" "$WORK/Notes" "$WORK/Big"
cp "$SAMPLES/coffee.png" "$WORK/Sea Shore/" || fail "the sample photo is missing"
echo "a shopping list" >"$WORK/Sea Shore/list.jpg"
echo "plans" >"$WORK/Notes/plans.png" && echo "more" >"$WORK/Notes/more.txt"
timeout 60 convert "$SAMPLES/coffee.png" -resize 4000x2667 "$WORK/Big/p00.png" || fail "convert"
for i in $(seq 1 49); do ln -s p00.png "$WORK/Big/p$i.png"; done
(exec timeout $((300 * PACE)) /usr/bin/python3 "$WORK/portal.py" "$WORK/answer" >"$WORK/portal.log" 2>&1) &
PORTAL_PID=$!
wait_until 10 "the stand-in portal did not start" grep -q ready "$WORK/portal.log"

packs() { ls "$WORK/game/packs" | sort; }
before=$(packs)
start_game NO_AT_BRIDGE=1
wait_for_window "Varnel v1.0.0"
wait_for_screen credits 4
click 79 27  # Start Game
ENTRY="140 524"

echo CANCEL >"$WORK/answer"
# shellcheck disable=SC2086
click $ENTRY
wait_until 10 "the portal was not asked for a folder" grep -q "directory=True" "$WORK/portal.log"
wait_frames 10
! grep -q "Photo pack: making" "$GAME_LOG" && [ "$(packs)" = "$before" ] || fail "a cancelled chooser made something"

echo "$WORK/Sea Shore" >"$WORK/answer"
click 60 555  # Easy
# shellcheck disable=SC2086
click $ENTRY
wait_until 20 "the making did not start" grep -q 'Photo pack: making "Sea Shore" from 2 photos' "$GAME_LOG"
wait_until 30 "the pack was not made" grep -q 'Photo pack: Made "Sea Shore": 1 level.' "$GAME_LOG"
grep -q "Photo pack: left out list.jpg: " "$GAME_LOG" || fail "the text file is not named"
click 512 432  # OK
INDEX=$(packs | sort -f | grep -n -x "Sea Shore.vnl" | cut -d: -f1)
ROW_Y=$((175 + 20 * (INDEX - 1) + 9))
timeout 5 xdotool mousemove --window "$WINDOW" 700 580 || fail "mousemove"
wait_for_shot selected "120x16+450+$((ROW_Y - 8))" 'g - max(r, b) > 0.25' 0.05 "the new pack is selected"
pack_points "$WORK/game/packs/Sea Shore.vnl" 350 29
LAYOUT=photos
open_pack 530
find_all_horizontal
click 530 445  # SUBMIT SCORE
enter_name Shore s h o r e
[ -n "$SCORE" ] && [ "$SCORE" -gt 400 ] || fail "no score above 400 was entered: not all five found"

echo "$WORK/Big" >"$WORK/answer"
click 79 27
# shellcheck disable=SC2086
click $ENTRY
wait_until 20 "the making did not start" grep -q 'Photo pack: making "Big" from 50 photos' "$GAME_LOG"
BAR="305x20+360+235"
FILLED='r + g + b > 1.2'
wait_for_shot making1 "$BAR" "$FILLED" 0.01 "the progress bar shows"
first=$(share making1 "$BAR" "$FILLED")
wait_for_shot making2 "$BAR" "$FILLED" "$first" "the progress bar moves"
[ -z "${VARNEL_DOCS_SHOT:-}" ] || convert "$WORK/making2.png" -resize 50% -colors 64 "$VARNEL_DOCS_SHOT"
click 512 432  # Cancel
wait_until 10 "the making was not cancelled" grep -q "Photo pack: Cancelled: nothing was written." "$GAME_LOG"
! pgrep -f "$WORK/Big" >/dev/null || fail "the tool still runs"
[ "$(packs)" = "$(printf '%s\n' "$before" "Sea Shore.vnl" | sort)" ] || fail "files left: $(packs)"
[ ! -e "$WORK/game/photo pack work" ] || fail "the work folder is left"
click 512 432  # OK

kill "$PORTAL_PID" && wait "$PORTAL_PID" 2>/dev/null || true
PORTAL_PID=
# shellcheck disable=SC2086
click $ENTRY
chooser_open() { CHOOSER=$(timeout 5 xdotool search --name "choose a folder of photos" | head -n1) && [ -n "$CHOOSER" ]; }
wait_until 30 "zenity did not open" chooser_open
chooser_focused() { timeout 5 xdotool windowfocus --sync "$CHOOSER"; }
wait_until 30 "zenity did not take the focus" chooser_focused
timeout $((30 * PACE)) xdotool key ctrl+l type "$WORK/Notes/" || fail "typing into zenity"
timeout $((10 * PACE)) xdotool key Return || fail "Return"
wait_until 20 "the folder typed into zenity was not taken" grep -q 'Photo pack: making "Notes" from 1 photos' "$GAME_LOG"
wait_until 20 "no message" grep -q "Photo pack: None of the photos could be used: nothing was written." "$GAME_LOG"
[ "$(packs)" = "$(printf '%s\n' "$before" "Sea Shore.vnl" | sort)" ] || fail "files left: $(packs)"
click 512 432  # OK
timeout 5 xdotool windowfocus "$WINDOW" || true
quit_with_escape
grep -a -q "1_score=$SCORE"$'\r' "$WORK/game/packs/Sea Shore.vnl" || fail "the pack file does not hold $SCORE"
echo "PASS: packs made from photos through the portal and zenity, played, cancelled and refused"
