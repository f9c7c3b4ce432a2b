# Sourced by the command-line checks: talvo and the samples from the arguments, a temporary
# folder removed on exit, and fail/finish to count and report failures.
set -u
talvo=$1
samples=$2
# A 5 m FG-GML DEM tile of 4 × 3 points, the first one left out by its start point.
tile=$samples/../tests/data/FG-GML-5339-45-01-DEM5A.xml
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
# The documented texts: a locale that asks for no other language.
export LANG=C.UTF-8
unset LC_ALL LC_MESSAGES LANGUAGE

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The closing line ctest's readers count, and the exit status.
finish() {
    echo "$((failures == 0 ? 1 : 0)) passed, $failures failed"
    [ $failures -eq 0 ]
}
