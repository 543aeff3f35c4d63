#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The engine's reference as built by the docs target, which fails on any doxygen warning: doxygen
# warns about every public member left undocumented (WARN_IF_UNDOCUMENTED without EXTRACT_ALL) and
# lists every documented one on its class's page. So the stamp of a clean run, a main page and a page
# for each of the three classes are all there is to check.
#   test_reference.sh DOCS_BUILD_DIR
set -euo pipefail
HTML=$1/html
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -f "$1/doxygen.stamp" ] || fail "the docs target has not run cleanly (no $1/doxygen.stamp)"
for page in index classtovak2d_1_1Engine classtovak2d_1_1Extra classtovak2d_1_1MP3Player; do
  [ -f "$HTML/$page.html" ] || fail "no reference page $page.html"
done
grep -qF 'find_package(Tovak2D 0.9 REQUIRED)' "$HTML/index.html" || fail "the main page does not show how to build against the SDK"
echo "PASS: the reference has its main page and a page for Engine, Extra and MP3Player"
