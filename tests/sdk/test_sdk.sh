#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The engine as a game developer meets it: the runtime and development files installed alone into
# an empty prefix, every installed header compiling on its own without SDL's or FFmpeg's headers,
# every example built out of tree against that prefix through the CMake package and the README's first
# program with a one-line pkg-config compile, each run headless to a clean end.
set -euo pipefail
BUILD=$1
SOURCE=$2
# A library built with the sanitizers needs programs built with them too.
SANITIZE_FLAGS=()
if [ "${3:-}" = sanitize ]; then
  SANITIZE_FLAGS=(-fsanitize=address,undefined)
  export LSAN_OPTIONS=suppressions=$SOURCE/tests/lsan.supp
fi
export CXXFLAGS="${SANITIZE_FLAGS[*]}" LDFLAGS="${SANITIZE_FLAGS[*]}"
WORK=$(mktemp -d /tmp/tovak2d-sdk-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
PREFIX=$WORK/prefix

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

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
for compiler in g++ clang++; do
  for header in "${headers[@]}"; do
    echo "#include <$header>" | timeout 60 "$compiler" -std=c++17 -Wall -Wextra -Wpedantic -Werror -fsyntax-only \
      -I"$PREFIX/include" -x c++ - 2>"$WORK/header.log" ||
      { cat "$WORK/header.log" >&2; fail "$header does not compile on its own with $compiler"; }
  done
done

export PKG_CONFIG_PATH=$libdir/pkgconfig
[ -s "$(pkg-config --variable=exampledatadir tovak2d)/font_default.dds" ] || fail "no example data"
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
for example in sprite_window sound_keys; do
  run_example "$WORK/$example/$example" --frames 60
  check_log "$WORK/$example/log.txt"
done
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
# shellcheck disable=SC2046
timeout 300 g++ -std=c++17 -Wall -Wextra "${SANITIZE_FLAGS[@]}" -o "$WORK/first/mygame" "$WORK/first/mygame.cpp" \
  $(pkg-config --cflags --libs tovak2d sdl2) -Wl,-rpath,"$libdir" 2>"$WORK/build.log" ||
  { cat "$WORK/build.log" >&2; fail "the README's first program does not build"; }
status=0
(cd "$WORK/first" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout --kill-after=5 3 ./mygame) || status=$?
[ "$status" = 124 ] || fail "the first program ended with status $status instead of running until told to stop"
check_log "$WORK/first/log.txt"

echo "PASS"
