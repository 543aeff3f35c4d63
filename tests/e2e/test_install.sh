#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The installed game, started from its menu entry's command by a player with an empty home: it makes
# the player's own game folder with working packs, and writes nothing into the installed folder
# (made read-only to prove it; root may write anywhere, so when the test runs as root the player is
# nobody). A second start adds packs installed since, and brings back neither a pack the player
# deleted nor an installed pack over the player's.
source "$(dirname "$0")/lib.sh"

PREFIX=$WORK/prefix
# A home folder with an accented name, as many players have: the game folder under it is named
# in UTF-8 by the system.
PLAYER_HOME=$WORK/zoë
USER_DIR=$PLAYER_HOME/.local/share/varnel
INSTALLED=$PREFIX/share/varnel
if [ "$(id -u)" = 0 ]; then
  id nobody >/dev/null 2>&1 && command -v setpriv >/dev/null || fail "the user nobody or setpriv is missing"
  RUN_AS=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
fi
GAME_LOG=$USER_DIR/log.txt
cleanup_more() { chmod -R u+w "$WORK" 2>/dev/null || true; }

# Every file, link and folder of the installation with its mode, and every file's checksum.
listing() {
  (cd "$PREFIX" && find . -printf '%M %l %p\n' | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum)
}

# Starts the game from the menu entry's command, waits for its engine to start and its first
# frames, and closes it in order.
play_once() {
  GAME_COMMAND=$(sed -n 's/^Exec=//p' "$PREFIX/share/applications/org.varnel.Varnel.desktop")
  [ -n "$GAME_COMMAND" ] || fail "the menu entry has no command"
  start_game HOME="$PLAYER_HOME" PATH="$PREFIX/games:$PATH"
  wait_for_window "Varnel v1.0.0"
  engine_started() { grep -qs "Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!" "$GAME_LOG"; }
  wait_until 10 "no engine start line" engine_started
  wait_frames 10
  close_window 10
}

# VARNEL_DEB names the Debian packages to check instead (the game's and the engine library's,
# separated by blanks): their files are unpacked in place of the prefix.
if [ -n "${VARNEL_DEB:-}" ]; then
  for deb in $VARNEL_DEB; do
    timeout 120 dpkg-deb -x "$deb" "$WORK/root" || fail "cannot unpack $deb"
  done
  mv "$WORK/root/usr" "$PREFIX"
else
  timeout 120 cmake --install "$GAME_DIR/.." --prefix "$PREFIX" >"$WORK/install.log" 2>&1 ||
    { cat "$WORK/install.log" >&2; fail "cmake --install failed"; }
fi
# The program, its library, the pictures and the options prove themselves by the game's start.
[ -s "$INSTALLED/sound/music.wma" ] || fail "the music was not installed"
mapfile -t packs < <(cd "$INSTALLED/packs" && ls -- *.vnl)
[ ${#packs[@]} -ge 2 ] || fail "fewer than two packs installed"
timeout 30 appstreamcli validate --no-net "$PREFIX/share/metainfo/org.varnel.Varnel.metainfo.xml" >/dev/null ||
  fail "the metainfo file does not validate"

chmod -R a-w "$INSTALLED"
chmod -R a+rX "$WORK"
listing >"$WORK/before"
mkdir -m 700 "$PLAYER_HOME"
[ ${#RUN_AS[@]} = 0 ] || chown nobody "$PLAYER_HOME"
start_xvfb

play_once
for pack in "${packs[@]}"; do
  cmp -s "$INSTALLED/packs/$pack" "$USER_DIR/packs/$pack" || fail "pack $pack was not copied"
done
[ -L "$USER_DIR/game data/pictures.vnl" ] || fail "the pictures are not linked"
[ -f "$USER_DIR/game data/options.ini" ] && [ ! -L "$USER_DIR/game data/options.ini" ] ||
  fail "the options are not a copy of their own"
listing | diff "$WORK/before" - >&2 || fail "the installed folder changed"

# The player deletes one pack and makes another their own; an update installs a new one, and
# one with the name of the player's.
deleted=${packs[0]}
mine=${packs[1]}
rm "$USER_DIR/packs/$deleted"
echo "the player's notes" >"$WORK/notes.txt"
timeout 30 "${RUN_AS[@]}" "$PREFIX/games/varnel-pack" add "$USER_DIR/packs/$mine" "$WORK/notes.txt" >/dev/null ||
  fail "cannot change a pack"
mine_sum=$(sha256sum <"$USER_DIR/packs/$mine")
chmod u+w "$INSTALLED/packs"
cp "$INSTALLED/packs/$deleted" "$INSTALLED/packs/added later.vnl"
chmod -R a-w "$INSTALLED"
listing >"$WORK/before"

play_once
[ -e "$USER_DIR/packs/$deleted" ] && fail "the deleted pack $deleted came back"
cmp -s "$INSTALLED/packs/added later.vnl" "$USER_DIR/packs/added later.vnl" || fail "the new pack was not copied"
[ "$(sha256sum <"$USER_DIR/packs/$mine")" = "$mine_sum" ] || fail "the player's pack $mine was overwritten"
listing | diff "$WORK/before" - >&2 || fail "the installed folder changed"
echo "PASS: installed game ran from $USER_DIR and left $INSTALLED untouched"
