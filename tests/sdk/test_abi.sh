#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# Guards the engine library's binary interface: the symbols it exports in namespace tovak2d must be
# exactly those listed in abi-symbols.txt, and its SONAME the one in the list's first line. A symbol
# removed or changed breaks every program built against the library: raise TOVAK2D_SOVERSION
# (engine/CMakeLists.txt) and update the list in the same commit. A symbol added only needs the list
# updated:
#   nm -D --defined-only LIBRARY | awk '{print $3}' | grep -E '^_Z(NK?|T[IVS]N)7tovak2d' | sort -u > tests/sdk/abi-symbols.txt
set -euo pipefail
LIBRARY=$1
LIST=$(dirname "$0")/abi-symbols.txt
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

actual=$(timeout 30 nm -D --defined-only "$LIBRARY" | awk '{print $3}' | grep -E '^_Z(NK?|T[IVS]N)7tovak2d' | sort -u)
differences=$(diff <(grep -v '^#' "$LIST") <(echo "$actual") | grep '^[<>]' | c++filt || true)
[ -z "$differences" ] ||
  fail "the exported symbols differ from $LIST (<: gone, raise TOVAK2D_SOVERSION; >: new, add them):
$differences"
soname=$(timeout 10 readelf -d "$LIBRARY" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')
[ "$soname" = "$(sed -n '1s/^# SONAME //p' "$LIST")" ] || fail "the SONAME $soname is not the one the list was made for"
echo "PASS: $(echo "$actual" | wc -l) symbols, SONAME $soname"
