#!/usr/bin/env bash
# The engine's reference as built by the docs target: doxygen ran without a single warning, and the
# HTML has a page for each of the three classes on which every public member of the class's header
# appears (member functions, constructors and public variables, taken from the declarations).
#   test_reference.sh DOCS_BUILD_DIR HEADER_DIR
set -euo pipefail
DOCS=$1
HEADERS=$2
HTML=$DOCS/html
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -f "$DOCS/doxygen.stamp" ] || fail "the docs target has not run cleanly (no $DOCS/doxygen.stamp)"
[ -f "$DOCS/doxygen-warnings.log" ] || fail "doxygen wrote no warnings log"
[ -s "$DOCS/doxygen-warnings.log" ] && fail "doxygen reported warnings:$(printf '\n')$(cat "$DOCS/doxygen-warnings.log")"
[ -f "$HTML/index.html" ] || fail "no main page"
for text in 'find_package(Tovak2D 0.9 REQUIRED)' 'Tovak2D::Tovak2D' 'pkg-config --cflags --libs tovak2d' \
  'share/doc/libtovak2d-dev/examples' 'share/tovak2d/examples' 'Escape'; do
  grep -qF -- "$text" "$HTML/index.html" || fail "the main page does not mention $text"
done

# The public part of a class: from its declaration to "private:", comments left out.
public_part() {
  sed -n "/^class TOVAK2D_API $2 /,/^ private:/p" "$1" | grep -v '^[[:space:]]*//' | sed 's|//.*||'
}

total=0
for class in Engine Extra MP3Player; do
  page=$HTML/classtovak2d_1_1$class.html
  [ -f "$page" ] || fail "no reference page for $class ($page)"
  declarations=$(public_part "$HEADERS/$class.h" "$class")
  [ -n "$declarations" ] || fail "found no public declarations of $class in $HEADERS/$class.h"
  # Functions: a name directly followed by "(". Variables: "type name = value;" without "(".
  functions=$(grep -oE '\b[A-Za-z_][A-Za-z0-9_]*\(' <<<"$declarations" | tr -d '(' || true)
  variables=$(grep -vF -e '(' -e ')' <<<"$declarations" |
    sed -nE 's/^[[:space:]]+[A-Za-z_][A-Za-z0-9_:<>]*[[:space:]]+([A-Za-z_][A-Za-z0-9_]*)[[:space:]]*(=[^;]*)?;[[:space:]]*$/\1/p' || true)
  members=$(printf '%s\n%s\n' "$functions" "$variables" | grep -v '^$' | sort -u)
  count=0
  for member in $members; do
    grep -qF ">$member<" "$page" || fail "$class::$member is not on $class's reference page"
    count=$((count + 1))
  done
  [ "$count" -ge 5 ] || fail "only $count public members of $class were found in its header"
  echo "$class: $count public member names on $(basename "$page")"
  total=$((total + count))
done
echo "PASS: the reference lists Engine, Extra and MP3Player with all $total public member names; doxygen gave no warnings"
