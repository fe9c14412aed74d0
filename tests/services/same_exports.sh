#!/usr/bin/env bash
# The 64-bit and the 32-bit library export the same functions and data: the names nm gives for their strong
# global symbols, parameter lists aside (sanitizer bookkeeping set apart). Fails when either file is missing.
set -euo pipefail
exports() {
    [ -f "$1" ] || { echo "same_exports: $1 is missing" >&2; exit 1; }
    nm -DC --defined-only "$1" | awk '$2 ~ /^[TDBR]$/ { $1 = ""; $2 = ""; print }' |
        sed -E 's/^ +//; s/\(.*//' | grep -v -E '^__(odr_)?(asan|ubsan|lsan)' | sort -u
}
if ! diff <(exports "$1") <(exports "$2"); then
    echo "same_exports: $1 and $2 export different names (< only the first, > only the second)" >&2
    exit 1
fi
echo "same_exports: $(exports "$1" | wc -l) names in both"
