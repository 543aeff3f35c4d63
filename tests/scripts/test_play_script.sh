#!/usr/bin/env bash
# ./scripts/play must build only what playing needs: the engine library, the program and the game
# data. It configures a fresh build folder, asks the script for its build command, and follows every
# target it names through CMake's dependency graph: no test, benchmark or fuzz program may be among them.
set -euo pipefail
SOURCE_DIR=$1
WORK=$(mktemp -d /tmp/varnel-play-XXXXXX)
trap 'rm -rf "$WORK"' EXIT

command=$(VARNEL_BUILD_DIR="$WORK/build" timeout 300 bash "$SOURCE_DIR/scripts/play" --dry-run | tail -n1)
echo "play builds: $command"
case " $command " in
  *" --target "*) ;;
  *) echo "FAIL: the play script builds every target" >&2; exit 1 ;;
esac
read -r -a targets <<<"${command##*--target }"

echo 'set(GRAPHVIZ_CUSTOM_TARGETS TRUE)' >"$WORK/build/CMakeGraphVizOptions.cmake"
(cd "$WORK/build" && timeout 120 cmake --graphviz="$WORK/graph/deps.dot" . >/dev/null)
for target in "${targets[@]}"; do
  graph="$WORK/graph/deps.dot.$target"
  [ -f "$graph" ] || { echo "FAIL: the play script names '$target', which is no target" >&2; exit 1; }
  if grep -Eo 'label = "[^"]*"' "$graph" | grep -E '_tests|bench_|replay_|x11_window|GTest|benchmark'; then
    echo "FAIL: '$target' pulls in test or benchmark programs" >&2
    exit 1
  fi
done
graphs=()
for target in "${targets[@]}"; do graphs+=("$WORK/graph/deps.dot.$target"); done
for needed in Varnel Tovak2D_0923_VNL varnel_data; do
  grep -Eq "label = \"$needed[\"\\]" "${graphs[@]}" ||
    { echo "FAIL: the play script does not build $needed" >&2; exit 1; }
done
echo "PASS"
