#!/usr/bin/env bash
# The README's Install section names the same packages as scripts/setup's build list, so that a
# build from the README alone has all it needs.
# packages_test.sh README SETUP
set -u
readme=$(sed -n '/^## Install/,/^## [^I]/p' "$1" | tr '\n' ' ' | grep -o 'the packages *`[^`]*`' |
    head -1 | sed 's/.*`\(.*\)`/\1/' | tr -s ' ' '\n' | sed '/^$/d' | sort)
setup=$(sed -n '/^build=(/,/^)/p' "$2" | sed '1d;$d' | tr -s ' ' '\n' | sed '/^$/d' | sort)
[ -n "$readme" ] || { echo "FAIL: no package list in the README's Install section"; exit 1; }
[ -n "$setup" ] || { echo "FAIL: no build list in scripts/setup"; exit 1; }
differ=$(comm -3 <(echo "$readme") <(echo "$setup"))
[ -z "$differ" ] || {
    echo "FAIL: only in the README (left) or only in scripts/setup (right):"
    echo "$differ"
    exit 1
}
echo "1 passed, 0 failed"
