#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# ./scripts/play must build only what playing needs: the engine library, the program and the game
# data. It configures a fresh build folder, asks the script for its build command, and follows every
# target it names through CMake's dependency graph: no test, benchmark or fuzz program may be among them.
set -euo pipefail
SOURCE_DIR=$1
WORK=$(mktemp -d /tmp/varnel-play-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

command=$(VARNEL_BUILD_DIR="$WORK/build" timeout 300 bash "$SOURCE_DIR/scripts/play" --dry-run | tail -n1)
echo "play builds: $command"
[[ " $command " == *" --target "* ]] || fail "the play script builds every target"
read -r -a targets <<<"${command##*--target }"

echo 'set(GRAPHVIZ_CUSTOM_TARGETS TRUE)' >"$WORK/build/CMakeGraphVizOptions.cmake"
(cd "$WORK/build" && timeout 120 cmake --graphviz="$WORK/graph/deps.dot" . >/dev/null)
graphs=()
for target in "${targets[@]}"; do
  graphs+=("$WORK/graph/deps.dot.$target")
  [ -f "${graphs[-1]}" ] || fail "the play script names '$target', which is no target"
  grep -Eo 'label = "[^"]*"' "${graphs[-1]}" | grep -E '_tests|bench_|replay_|x11_window|GTest|benchmark' &&
    fail "'$target' pulls in test or benchmark programs"
done
for needed in Varnel Tovak2D_0923_VNL varnel_data; do
  grep -Eq "label = \"$needed[\"\\]" "${graphs[@]}" || fail "the play script does not build $needed"
done
echo "PASS"
