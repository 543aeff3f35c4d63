#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The engine as a game developer meets it: the runtime and development files installed alone into
# an empty prefix, every installed header compiling on its own without SDL's or FFmpeg's headers and
# without a warning under the strictest flags, every example built out of tree against that prefix
# through the CMake package and run (the two with a window under Xvfb, driven by keys and mouse and
# measured: the sound through SDL's disk driver, the sprite in screenshots), and the README's first
# program built with its one-line pkg-config command and run.
#   test_sdk.sh BUILD SOURCE X11_WINDOW [sanitize]
BUILD=$1
SOURCE=$2
# A private Xvfb, waiting with a deadline, closing a window: shared with the end-to-end tests.
# shellcheck source=../e2e/lib.sh
source "$SOURCE/tests/e2e/lib.sh" "$BUILD" "$3"
# A library built with the sanitizers needs programs built with them too.
SANITIZE_FLAGS=()
if [ "${4:-}" = sanitize ]; then
  SANITIZE_FLAGS=(-fsanitize=address,undefined)
  export LSAN_OPTIONS=suppressions=$SOURCE/tests/lsan.supp
fi
export CXXFLAGS="${SANITIZE_FLAGS[*]}" LDFLAGS="${SANITIZE_FLAGS[*]}"
PREFIX=$WORK/prefix

for component in runtime dev; do
  timeout 120 cmake --install "$BUILD" --prefix "$PREFIX" --component "$component" >"$WORK/install.log" 2>&1 ||
    { cat "$WORK/install.log" >&2; fail "installing $component failed"; }
done
[ -e "$PREFIX/bin" ] && fail "the SDK installed programs: $(ls "$PREFIX/bin")"
libdir=$(dirname "$(find "$PREFIX" -name 'libTovak2D_0923_VNL.so.0' | head -n1)")
[[ $libdir == "$PREFIX"/lib/*-linux-gnu* ]] || fail "no libTovak2D_0923_VNL.so.0 in the multiarch folder: $libdir"

# The headers are the interface and nothing else: no test hooks.
mapfile -t headers < <(cd "$PREFIX/include" && ls tovak2d/*.h)
[ ${#headers[@]} -ge 5 ] || fail "too few headers: ${headers[*]}"
[ -e "$PREFIX/include/tovak2d/Diagnostics.h" ] && fail "the test hook Diagnostics.h is installed"
grep -nE '#include *[<"](SDL|libav|libsw|squish|fontconfig|curl)' "$PREFIX"/include/tovak2d/*.h &&
  fail "an installed header includes a library the engine hides"
export PKG_CONFIG_PATH=$libdir/pkgconfig
[ -s "$(pkg-config --variable=exampledatadir tovak2d)/font_default.dds" ] || fail "no example data"
# With the package's own flags only (which must carry the language version), no warning at all.
read -ra cflags < <(pkg-config --cflags tovak2d)
for compiler in "g++ -Wall -Wextra -Wpedantic -Wconversion -Wshadow -Weffc++" \
  "clang++ -Weverything -Wno-c++98-compat -Wno-c++98-compat-pedantic -Wno-padded"; do
  for header in "${headers[@]}"; do
    # shellcheck disable=SC2086
    echo "#include <$header>" | timeout 60 $compiler -Werror -fsyntax-only "${cflags[@]}" -x c++ - \
      2>"$WORK/header.log" || { cat "$WORK/header.log" >&2; fail "$header does not compile cleanly with $compiler"; }
  done
done

examples=$PREFIX/share/doc/libtovak2d-dev/examples

# Runs one example program headless in its own folder; its log must show a start and a clean end.
run_example() {
  local program=$1 name
  name=$(basename "$program")
  shift
  (cd "$WORK" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout --kill-after=5 60 "$program" "$@") \
    >"$WORK/$name.out" 2>&1 || { cat "$WORK/$name.out" >&2; fail "$program $* failed"; }
}

# The log shows a start, no error and a clean end.
check_log() {
  local log=$1
  grep -q "APPLICATION STARTED" "$log" || fail "$log has no start banner"
  grep -q "^Error" "$log" && { cat "$log" >&2; fail "$log holds an error"; }
  [ "$(tail -n1 "$log" | tr -d '\r')" = "APPLICATION ENDED" ] || { cat "$log" >&2; fail "$log does not end in order"; }
}

# Each example, built through the CMake package and run.
for example in sprite_window sound_keys archive_tool; do
  out=$WORK/$example
  timeout 120 cmake -S "$examples/$example" -B "$out" -DCMAKE_PREFIX_PATH="$PREFIX" >"$WORK/build.log" 2>&1 &&
    timeout 300 cmake --build "$out" >>"$WORK/build.log" 2>&1 ||
    { cat "$WORK/build.log" >&2; fail "$example does not build with CMake"; }
done
start_xvfb
# Starts example NAME under Xvfb with the environment settings given after it, and puts the pointer in
# the middle of its window, so that the window gets the keys.
start_example() {
  GAME_COMMAND=$WORK/$1/$1 GAME_LOG=$WORK/$1/log.txt
  start_game "${@:3}"
  wait_for_window "$2"
  timeout 5 xdotool mousemove --window "$WINDOW" 400 300 || fail "mousemove"
}

# sprite_window turns the sprite on its centre under the pointer: the centre of its pixels lies near
# the pointer (the arrow's own centre is 8 pixels from the picture's middle; a sprite turning about a
# corner puts it 29 pixels away), in screenshots that differ as it turns.
start_example sprite_window "Tovak2D sprite"
# shoot N: screenshot N; keeps the pixels near the pointer that are not background in $WORK/spriteN and
# prints their centre's distance from the pointer.
shoot() {
  timeout 5 xdotool key s || fail "key s"
  saved() { [ -s "$WORK/sprite_window/screenshot$(printf %03d "$1").bmp" ]; }
  wait_until 10 "no screenshot $1" saved "$1"
  timeout 20 convert "$WORK/sprite_window/screenshot$(printf %03d "$1").bmp" -crop 96x96+352+252 +repage -depth 8 \
    txt:- | awk -F'[,:() ]+' 'NR > 1 && !($3 == 20 && $4 == 30 && $5 == 60) { print $1, $2 }' >"$WORK/sprite$1"
  awk '{ x += $1; y += $2 } END { print NR < 50 ? 99 : sqrt((x / NR - 48) ^ 2 + (y / NR - 48) ^ 2) }' "$WORK/sprite$1"
}
shot=0
centred() { shot=$((shot + 1)) && awk -v d="$(shoot $shot)" 'BEGIN { exit !(d != "" && d < 12) }'; }
# The program sees the pointer a frame or two after it moved.
wait_until 10 "the sprite's centre is not on the pointer (see $WORK/sprite$shot)" centred
centred || fail "the sprite's centre left the pointer"
cmp -s "$WORK/sprite$((shot - 1))" "$WORK/sprite$shot" && fail "the sprite did not turn between two screenshots"
close_window 15

# sound_keys, its sound written by SDL's disk driver as 32-bit float stereo at 44,100 Hz: each key is
# struck once the sound before it had time to play; MARKS holds the file's length in frames at each strike.
SOUND=$WORK/sound.raw MARKS=()
written() { echo $(($(stat -c %s "$SOUND" 2>/dev/null || echo 0) / 8)); }
# strike KEY CENTISECONDS: strikes the key, then waits until that much more sound (times the pace) was written.
strike() {
  MARKS+=("$(written)")
  local enough=$((MARKS[-1] + $2 * 441 * PACE))
  timeout 5 xdotool key "$1" || fail "key $1"
  grown() { [ "$(written)" -ge "$enough" ]; }
  wait_until 10 "the sound stopped after key $1" grown
}
# segment N CHANNEL RMS|Peak [half]: the RMS amplitude, or the frequency of the loudest tone, of one
# channel from strike N (or the middle of its time) to the next.
segment() {
  local from=${MARKS[$1]} to=${MARKS[$1 + 1]}
  [ -z "${4:-}" ] || from=$(((from + to) / 2))
  # shellcheck disable=SC2046
  timeout 20 sox -t raw -r 44100 -e floating-point -b 32 -c 2 "$SOUND" -n trim "${from}s" "=${to}s" remix "$2" \
    stat $([ "$3" = RMS ] || echo -freq) 2>&1 | awk -v what="$3" '$1 == what && $2 == "amplitude:" { print $3 }
      what == "Peak" && NF == 2 && $1 > 0 { power[$1] += $2 }
      END { for (f in power) if (power[f] > most) { most = power[f]; peak = f }; if (what == "Peak") print peak }'
}
# A / B; 1e9 (failing every "<" check) unless both are numbers and B is not 0.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { n = "^[0-9.]+(e-?[0-9]+)?$"; print (a ~ n && b ~ n && b > 0 ? a / b : 1e9) }'; }
start_example sound_keys "Tovak2D sound" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$SOUND"
# Home does nothing: a second of music, then the music paused and the effects alone.
for key in Home:100 p:50 1:50 2:50 3:50 4:50 5:100 Down:100 Down:100 6:10; do strike "${key%:*}" "${key#*:}"; done
MARKS+=("$(written)")
close_window 15
check "$(segment 0 1 RMS)" ">" 0.01 "the music is audible"
WHERE="key 1" check "$(segment 2 1 RMS)" ">" 0.01 "the effect is audible"
WHERE="key 1" check "$(ratio "$(segment 2 1 RMS)" "$(segment 2 2 RMS)")" "<" 1.1 "it is centred (left / right)"
WHERE="key 1" check "$(ratio "$(segment 2 2 RMS)" "$(segment 2 1 RMS)")" "<" 1.1 "it is centred (right / left)"
WHERE="key 2" check "$(ratio "$(segment 3 2 RMS)" "$(segment 3 1 RMS)")" "<" 0.01 "it is on the left only"
WHERE="key 3" check "$(ratio "$(segment 4 1 RMS)" "$(segment 4 2 RMS)")" "<" 0.01 "it is on the right only"
pitch=$(ratio "$(segment 5 1 Peak)" "$(segment 2 1 Peak)")
WHERE="key 4" check "$pitch" ">" 1.9 "twice the rate doubles the pitch of the loudest tone"
WHERE="key 4" check "$pitch" "<" 2.1 "twice the rate doubles the pitch of the loudest tone"
for step in 7 8; do
  WHERE="Down" check "$(ratio "$(segment $step 1 RMS half)" "$(segment $((step - 1)) 1 RMS half)")" "<" 0.5 \
    "the loop is 10 dB quieter"
  WHERE="Down" check "$(ratio "$(segment $step 1 RMS half)" "$(segment $((step - 1)) 1 RMS half)")" ">" 0.2 \
    "the loop is 10 dB quieter"
done
check_log "$WORK/sound_keys/log.txt"
check_log "$WORK/sprite_window/log.txt"

out=$WORK/archive_tool
mkdir -p "$out/folder"
# Two runs on one folder: the second score is ranked against the table the first one saved.
run_example "$out/archive_tool" "$out/folder" Ada 500
run_example "$out/archive_tool" "$out/folder" Bob 900
grep -q " 2\. Ada " "$WORK/archive_tool.out" || { cat "$WORK/archive_tool.out" >&2; fail "Ada did not move down"; }
check_log "$out/folder/log.txt"

# The README's first program builds as it stands, runs, and ends in order when asked to.
mkdir -p "$WORK/first"
awk '/^### A first program/ { on = 1; next } /^Build it with CMake/ { on = 0 } on && /^    / { print substr($0, 5) }' \
  "$SOURCE/README.md" >"$WORK/first/mygame.cpp"
grep -q "Tovak2D_Start" "$WORK/first/mygame.cpp" || fail "no first program in the README"
# Built with the README's own command line (which must need no LD_LIBRARY_PATH to run from this prefix).
command=$(sed -n 's/^    \(g++ .*pkg-config --cflags --libs tovak2d.*\)/\1/p' "$SOURCE/README.md")
[ -n "$command" ] || fail "no pkg-config command in the README"
(cd "$WORK/first" && eval "timeout 300 $command -Wall -Wextra ${SANITIZE_FLAGS[*]}") 2>"$WORK/build.log" ||
  { cat "$WORK/build.log" >&2; fail "the README's first program does not build with: $command"; }
# The main page's first program compiles too.
sed -n '/{#first_program}/,/^~~~$/p' "$SOURCE/docs/mainpage.md" | sed '1,/^~~~{.cpp}/d; /^~~~$/d' >"$WORK/first/page.cpp"
# shellcheck disable=SC2046
timeout 300 g++ -Wall -Wextra -fsyntax-only $(pkg-config --cflags tovak2d sdl2) "$WORK/first/page.cpp" 2>"$WORK/build.log" ||
  { cat "$WORK/build.log" >&2; fail "the main page's first program does not compile"; }
status=0
(cd "$WORK/first" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout --kill-after=5 3 ./mygame) || status=$?
[ "$status" = 124 ] || fail "the first program ended with status $status instead of running until told to stop"
check_log "$WORK/first/log.txt"

echo "PASS"
