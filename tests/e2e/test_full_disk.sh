#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The game folder on a small disk that is really full (a tmpfs filled to the last block): the game
# names the disk and the room its pictures need instead of calling the folder incomplete, ends in
# order, and every pack is as it was. Mounting needs root: without it the test is skipped (77).
source "$(dirname "$0")/lib.sh"

if [ "$(id -u)" != 0 ]; then
  echo "SKIP: mounting a small disk needs root"
  exit 77
fi
DISK=$WORK/disk
mkdir -p "$DISK"
size_kb=$(($(du -sk "$GAME_DIR" | cut -f1) + 8192))
mount -t tmpfs -o size=${size_kb}k tmpfs "$DISK" || { echo "SKIP: cannot mount a tmpfs here"; exit 77; }
# The game ends first (it runs from the disk), then the disk goes, then the rest of the test's files.
cleanup_more() { umount "$DISK" 2>/dev/null || umount -l "$DISK" 2>/dev/null || true; }

GAME=$DISK/varnel
copy_game "$GAME"
(cd "$GAME" && find packs -type f -exec sha256sum {} + | sort) >"$WORK/packs.before"
# Fill what is left; a few blocks stay free, too few for the pictures.
dd if=/dev/zero of="$DISK/filler" bs=64k status=none 2>/dev/null || true
rm -f "$DISK/filler"
dd if=/dev/zero of="$DISK/filler" bs=4k count=$(($(df -k --output=avail "$DISK" | tail -n1) / 4 - 8)) \
  status=none 2>/dev/null || true
avail=$(df -k --output=avail "$DISK" | tail -n1 | tr -d ' ')
[ "$avail" -lt 1024 ] || fail "the disk still has $avail KB free"

run_refused "$GAME/Varnel" "$WORK/stderr"
grep -qF "Varnel: The disk $DISK holding $GAME is full: unpacking the game's pictures needs" "$WORK/stderr" ||
  fail "the player is not told that the disk is full: $(cat "$WORK/stderr")"
grep -qE "needs [0-9.]+ (KB|MB) free there and [0-9.]+ (KB|MB) is free" "$WORK/stderr" ||
  fail "the message does not give the room needed and the room free"
grep -q "incomplete" "$WORK/stderr" && fail "the game folder is called incomplete"
(cd "$GAME" && find packs -type f -exec sha256sum {} + | sort) >"$WORK/packs.after"
cmp -s "$WORK/packs.before" "$WORK/packs.after" || fail "a pack changed on the full disk"
left=$(cd "$GAME" && ls -d background.jpg gamemask.dds font_default.dds 2>/dev/null || true)
[ -z "$left" ] || fail "unpacked pictures stayed behind: $left"

# With room made, the same folder starts: nothing was lost.
rm -f "$DISK/filler"
GAME_COMMAND=$GAME/Varnel
start_game SDL_VIDEODRIVER=dummy
wait_until 30 "the game does not start once there is room" test -f "$GAME/0packinfo.ini"
echo "PASS: a full disk is named with the room the pictures need; the packs are untouched; the game starts once there is room"
