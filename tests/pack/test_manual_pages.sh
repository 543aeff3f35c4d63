#!/usr/bin/env bash
# SPDX-License-Identifier: Zlib
# The manual pages render without a warning, and varnel-pack's page names every command and every
# option that varnel-pack's --help texts name, and no other.
set -euo pipefail
PACK=$1
DOCS=$2
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for page in "$DOCS/Varnel.6" "$DOCS/varnel-pack.1"; do
  warnings=$(LC_ALL=C.UTF-8 timeout 30 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) || fail "man $page"
  [ -z "$warnings" ] || fail "$page: $warnings"
done
commands=$(timeout 10 "$PACK" --help | awk '/^commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' | sort)
[ "$(wc -l <<<"$commands")" -ge 10 ] || fail "varnel-pack --help lists too few commands: $commands"
options() { grep -oE -- '--[a-z]+(-[a-z]+)*' | sort -u; }
help_options=$({ timeout 10 "$PACK" --help && for c in $commands; do timeout 10 "$PACK" "$c" --help; done; } | options)
page=$(sed 's/\\-/-/g' "$DOCS/varnel-pack.1")
diff <(echo "$commands") <(sed -n 's/^\.SS \([a-z-]*\)$/\1/p' <<<"$page" | sort) >&2 ||
  fail "the commands of the page (>) and of varnel-pack --help (<) differ"
diff <(echo "$help_options") <(options <<<"$page") >&2 || fail "the options of the page (>) and of the --help texts (<) differ"
echo "PASS: $(wc -w <<<"$commands") commands and $(wc -w <<<"$help_options") options in both"
