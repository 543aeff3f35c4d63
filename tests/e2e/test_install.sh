#!/usr/bin/env bash
# The installed game, started from its menu entry's command by a player with an empty home: it makes
# the player's own game folder with working packs, and writes nothing into the installed folder
# (made read-only to prove it). A second start adds packs installed since, and brings back neither
# a pack the player deleted nor an installed pack over the player's.
source "$(dirname "$0")/lib.sh"

BUILD=$(cd "$GAME_DIR/.." && pwd)
PREFIX=$WORK/prefix
# A home folder with an accented name, as many players have: the game folder under it is named
# in UTF-8 by the system.
PLAYER_HOME=$WORK/zoë
USER_DIR=$PLAYER_HOME/.local/share/varnel
INSTALLED=$PREFIX/share/varnel
RUN_AS=()
GAME_LOG=$USER_DIR/log.txt

cleanup_install() {
  chmod -R u+w "$WORK" 2>/dev/null || true
  cleanup
}
trap cleanup_install EXIT

# Every file, link and folder of the installation with its mode, and every file's checksum.
listing() {
  (cd "$PREFIX" && find . -printf '%M %l %p\n' | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum)
}

start_installed_game() {
  local command
  command=$(sed -n 's/^Exec=//p' "$PREFIX/share/applications/org.varnel.Varnel.desktop")
  [ -n "$command" ] || fail "the menu entry has no command"
  (cd /; exec "${RUN_AS[@]}" env -u XDG_DATA_HOME HOME="$PLAYER_HOME" PATH="$PREFIX/bin:$PATH" SDL_AUDIODRIVER=dummy \
     TOVAK2D_QUIET_DIALOGS=1 timeout --kill-after=5 120 $command 2>"$WORK/stderr") &
  GAME_PID=$!
}

# Starts the game, waits for its engine to start and its first frames, and closes it in order.
play_once() {
  start_installed_game
  wait_for_window "Varnel v1.0.0"
  for _ in $(seq 100); do
    grep -qs "Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!" "$USER_DIR/log.txt" && break
    sleep 0.1
  done
  grep -qs "Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!" "$USER_DIR/log.txt" || fail "no engine start line"
  pause 1
  timeout 5 "$X11_WINDOW" close "$WINDOW"
  wait_for_exit 10
  [ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS"
  [ "$(tail -n1 "$USER_DIR/log.txt" | tr -d '\r')" = "APPLICATION ENDED" ] ||
    fail "the log does not end with APPLICATION ENDED"
}

# VARNEL_DEB names the Debian packages to check instead (the game's and the engine library's,
# separated by blanks): their files are unpacked in place of the prefix.
if [ -n "${VARNEL_DEB:-}" ]; then
  for deb in $VARNEL_DEB; do
    timeout 120 dpkg-deb -x "$deb" "$WORK/root" || fail "cannot unpack $deb"
  done
  mv "$WORK/root/usr" "$PREFIX"
else
  timeout 120 cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 ||
    { cat "$WORK/install.log" >&2; fail "cmake --install failed"; }
fi
libdir=$(cd "$PREFIX" && dirname "$(ls lib/*/libTovak2D_0923_VNL.so.0 2>/dev/null | head -n1)")
for file in bin/Varnel bin/varnel-pack "$libdir/libTovak2D_0923_VNL.so.0" "share/varnel/game data/pictures.vnl" \
  "share/varnel/game data/options.ini" share/varnel/sound/music.wma share/applications/org.varnel.Varnel.desktop \
  share/metainfo/org.varnel.Varnel.metainfo.xml share/icons/hicolor/256x256/apps/org.varnel.Varnel.png; do
  [ -s "$PREFIX/$file" ] || fail "$file was not installed"
done
mapfile -t packs < <(cd "$INSTALLED/packs" && ls -- *.vnl)
[ ${#packs[@]} -ge 2 ] || fail "fewer than two packs installed"
timeout 10 readelf -d "$PREFIX/bin/Varnel" | grep -q "R.*PATH.*\[\\\$ORIGIN/../$libdir\]" ||
  fail "the program does not look in ../$libdir"
[ "$(timeout 10 identify -format '%wx%h' "$PREFIX/share/icons/hicolor/256x256/apps/org.varnel.Varnel.png")" = 256x256 ] ||
  fail "the 256 icon is not 256x256"
timeout 30 appstreamcli validate --no-net "$PREFIX/share/metainfo/org.varnel.Varnel.metainfo.xml" >/dev/null ||
  fail "the metainfo file does not validate"

chmod -R a-w "$INSTALLED"
listing >"$WORK/before"
mkdir -m 700 "$PLAYER_HOME"
start_xvfb

play_once
for pack in "${packs[@]}"; do
  cmp -s "$INSTALLED/packs/$pack" "$USER_DIR/packs/$pack" || fail "pack $pack was not copied"
done
timeout 60 "$PREFIX/bin/varnel-pack" verify "$USER_DIR"/packs/*.vnl >"$WORK/verify" 2>&1 ||
  { cat "$WORK/verify" >&2; fail "the copied packs do not verify"; }
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
timeout 30 "$PREFIX/bin/varnel-pack" add "$USER_DIR/packs/$mine" "$WORK/notes.txt" >/dev/null || fail "cannot change a pack"
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
# Root may write anywhere: when the test runs as root, a player without those rights plays once too.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
  chmod -R a+rX "$WORK"
  PLAYER_HOME=$WORK/nobody
  USER_DIR=$PLAYER_HOME/.local/share/varnel
  GAME_LOG=$USER_DIR/log.txt
  mkdir -m 700 "$PLAYER_HOME"
  chown nobody "$PLAYER_HOME"
  RUN_AS=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
  chmod -R u+w,a+rX "$INSTALLED"
  listing >"$WORK/before"
  play_once
  for pack in "${packs[@]}"; do
    cmp -s "$INSTALLED/packs/$pack" "$USER_DIR/packs/$pack" || fail "pack $pack was not copied for nobody"
  done
  listing | diff "$WORK/before" - >&2 || fail "the installed folder changed"
fi
echo "PASS: installed game ran from $USER_DIR and left $INSTALLED untouched"
