#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# The Debian changelog made from a CHANGELOG.md: the entries dpkg reads back, each version's
# date with its day of the week, and a clear refusal of every malformed changelog.
#   debian_changelog_test.sh CMAKE SCRIPT
set -eu
cmake="$1"
script="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
convert() { # CHANGELOG.md text -> exit status; output in $work/out, messages in $work/err
    printf '%s\n' "$1" >"$work/CHANGELOG.md"
    rm -f "$work/out"
    "$cmake" -DCHANGELOG="$work/CHANGELOG.md" -DOUTPUT="$work/out" -DPACKAGE=pkg -DVERSION=2.0 \
        -DRELEASE=3 "-DMAINTAINER=A B <a@example.org>" -P "$script" >"$work/err" 2>&1
}

convert '<!-- a comment -->
# Changes

Text above the versions.

## 2.0 (2024-02-29)

- Two lines; with a semicolon
  and its continuation.
- Second.

## 1.0 (1999-12-31)

- First.'
expected='pkg (2.0-3) unstable; urgency=medium

  * Two lines; with a semicolon
    and its continuation.
  * Second.

 -- A B <a@example.org>  Thu, 29 Feb 2024 00:00:00 +0000

pkg (1.0-1) unstable; urgency=medium

  * First.

 -- A B <a@example.org>  Fri, 31 Dec 1999 00:00:00 +0000'
[ "$(cat "$work/out")" = "$expected" ] || fail "the changelog reads: $(cat "$work/out")"
[ "$(dpkg-parsechangelog -l "$work/out" --format rfc822 --all | sed -n 's/^Version: //p' |
    tr '\n' ' ')" = "2.0-3 1.0-1 " ] ||
    fail "dpkg does not read both entries"

# The day of the week, against date(1), around leap years and turns of centuries.
for day in 1900-02-28 1900-03-01 2000-02-29 2000-03-01 2023-01-01 2026-12-07 2100-12-31; do
    convert "## 2.0 ($day)
- x"
    expected="$(LC_ALL=C date -u -d "$day" '+%a, %d %b %Y 00:00:00 +0000')"
    grep -qx " -- A B <a@example.org>  $expected" "$work/out" ||
        fail "$day is dated: $(tail -n 1 "$work/out")"
done

# changelog | part of the message
refusals='## 2.0|a version heading is
## 2.0 (7 Dec 2026)|a version heading is
## 1.0 (2026-12-07)\n- x|the newest version is 1.0, the project'"'"'s is 2.0
## 2.0 (2026-02-29)\n- x|2026-2-29 is no date
## 2.0 (2026-13-01)\n- x|2026-13-01 is no date
## 2.0 (2026-04-31)\n- x|2026-4-31 is no date
## 2.0 (2026-12-07)\n\n## 1.0 (2026-01-01)\n- x|version 2.0 has no items
## 2.0 (2026-12-07)\n- x\n## 1.0 (2026-01-01)|version 1.0 has no items
## 2.0 (2026-12-07)\n- x\nstray words|:3: neither an item
## 2.0 (2026-12-07)\n  continued first|:2: neither an item
# Changes only|no version heading'
printf '%s\n' "$refusals" | while IFS='|' read -r text message; do
    if convert "$(printf '%b' "$text")"; then
        fail "accepted: $text"
    fi
    tr -s ' \n' '  ' <"$work/err" | grep -qF "$message" || fail "for \"$text\" it said: $(cat "$work/err")"
    [ ! -e "$work/out" ] || fail "wrote a changelog for: $text"
done
echo "the Debian changelog follows CHANGELOG.md"
