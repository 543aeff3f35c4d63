#!/usr/bin/env bash
# Two real games on one game folder: the second start says the game is already running and ends
# without changing a file; varnel-pack refuses to write a pack there unless told --force; once the
# first game is killed, its lock is gone and the folder is free again. No display is needed.
source "$(dirname "$0")/lib.sh"

copy_game
PACK=$(find "$WORK/game/packs" -name '*.vnl' | sort | head -n1)
[ -n "$PACK" ] || fail "the game folder holds no pack"

folder_free() { flock -n -s "$WORK/game" true; }
folder_held() { ! folder_free; }
snapshot() { (cd "$WORK/game" && find . -printf '%p %s %T@\n' | sort); }
# The first game writes at its start (log, catalogue copies): wait until it has settled.
settled() {
  [ -f "$WORK/game/0packinfo.ini" ] || return 1
  local before
  before=$(snapshot)
  sleep 0.5
  [ "$before" = "$(snapshot)" ]
}

start_game SDL_VIDEODRIVER=dummy
wait_until 30 "the first game does not hold its folder" folder_held
wait_until 60 "the first game does not settle" settled
FIRST_PID=$(ps -o pid= --ppid "$GAME_PID" | tr -d ' ')
[ -n "$FIRST_PID" ] || fail "no game process under $GAME_PID"
before=$(snapshot)

# The second start: a message, a failure status, and not one file changed.
run_refused "$WORK/game/Varnel" "$WORK/second.stderr"
grep -qF "Varnel: Varnel is already running on the game folder $WORK/game." "$WORK/second.stderr" ||
  fail "the second game does not say the game is already running: $(cat "$WORK/second.stderr")"
[ "$before" = "$(snapshot)" ] || fail "the second start changed the game folder: $(diff <(echo "$before") <(snapshot))"

# The pack tool leaves the game's packs alone while it runs, unless forced.
cp "$PACK" "$WORK/pack.before"
printf 'note\n' >"$WORK/note.txt"
status=0
timeout 60 "$WORK/game/varnel-pack" add "$PACK" "$WORK/note.txt" 2>"$WORK/pack.stderr" || status=$?
[ "$status" = 1 ] || fail "varnel-pack add on a pack in use ended with status $status"
grep -qF "a running game uses $WORK/game" "$WORK/pack.stderr" || fail "varnel-pack does not say why: $(cat "$WORK/pack.stderr")"
cmp -s "$PACK" "$WORK/pack.before" || fail "varnel-pack changed the pack of a running game"
status=0
timeout 60 "$WORK/game/varnel-pack" reset-scores "$PACK" 2>"$WORK/pack.stderr" || status=$?
[ "$status" = 1 ] || fail "varnel-pack reset-scores on a pack in use ended with status $status"
cmp -s "$PACK" "$WORK/pack.before" || fail "varnel-pack reset-scores changed the pack of a running game"
mkdir -p "$WORK/photos"
cp /usr/lib/python3/dist-packages/skimage/data/coffee.png "$WORK/photos/"
status=0
timeout 120 "$WORK/game/varnel-pack" photos "$WORK/photos" "$WORK/game/packs/Coffee.vnl" 2>"$WORK/pack.stderr" ||
  status=$?
[ "$status" = 1 ] || fail "varnel-pack photos into a folder in use ended with status $status"
[ ! -e "$WORK/game/packs/Coffee.vnl" ] || fail "varnel-pack photos wrote a pack into a running game's folder"
timeout 60 "$WORK/game/varnel-pack" add --force "$PACK" "$WORK/note.txt" >/dev/null 2>"$WORK/pack.stderr" ||
  fail "varnel-pack add --force refused: $(cat "$WORK/pack.stderr")"
cmp -s "$PACK" "$WORK/pack.before" && fail "varnel-pack add --force did not write"

# A killed game leaves no lock behind.
kill -KILL "$FIRST_PID"
wait_for_exit 30
wait_until 10 "the killed game's lock outlived it" folder_free
timeout 60 "$WORK/game/varnel-pack" delete "$PACK" note.txt 2>"$WORK/pack.stderr" ||
  fail "varnel-pack refused a pack no game uses: $(cat "$WORK/pack.stderr")"
echo "PASS: a second game on a folder in use ends touching nothing; varnel-pack waits for --force; a killed game frees the folder"
