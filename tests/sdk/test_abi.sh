#!/usr/bin/env bash
# Guards the engine library's binary interface: the symbols it exports in namespace tovak2d must be
# exactly those listed in abi-symbols.txt. A symbol removed or changed breaks every program built
# against the library: raise TOVAK2D_SOVERSION (engine/CMakeLists.txt) and update the list in the
# same commit. A symbol added only needs the list updated:
#   nm -D --defined-only LIBRARY | awk '{print $3}' | grep -E '^_Z(NK?|T[IVS]N)7tovak2d' | sort -u > tests/sdk/abi-symbols.txt
set -euo pipefail
LIBRARY=$1
LIST=$(dirname "$0")/abi-symbols.txt

actual=$(timeout 30 nm -D --defined-only "$LIBRARY" | awk '{print $3}' | grep -E '^_Z(NK?|T[IVS]N)7tovak2d' | sort -u)
listed=$(grep -v '^#' "$LIST")
removed=$(comm -23 <(echo "$listed") <(echo "$actual"))
added=$(comm -13 <(echo "$listed") <(echo "$actual"))
status=0
if [ -n "$removed" ]; then
  echo "FAIL: symbols gone from the library (raise TOVAK2D_SOVERSION and update $LIST):" >&2
  echo "$removed" | c++filt >&2
  status=1
fi
if [ -n "$added" ]; then
  echo "FAIL: new symbols not in $LIST (add them):" >&2
  echo "$added" | c++filt >&2
  status=1
fi
soname=$(timeout 10 readelf -d "$LIBRARY" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')
listed_soname=$(sed -n '1s/^# SONAME //p' "$LIST")
[ "$soname" = "$listed_soname" ] ||
  { echo "FAIL: the library's SONAME is $soname, the list was made for $listed_soname" >&2; status=1; }
[ $status = 0 ] && echo "PASS: $(echo "$actual" | wc -l) symbols, SONAME $soname"
exit $status
