#!/usr/bin/env bash
# The set-up's package install goes on when the package lists cannot be updated at once (a mirror in the
# middle of a sync): apt-get, dpkg-query, sudo and sleep are shims first on PATH, so nothing is installed
# and nothing waits.
set -euo pipefail
sources=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat >"$work/bin/apt-get" <<'SHIM'
#!/usr/bin/env bash
echo "apt-get $*" >>"$SHIM_LOG"
# The first FAILED_UPDATES updates fail as apt does when an index has the wrong size.
if [[ $1 == update ]] && (($(grep -c '^apt-get update' "$SHIM_LOG") <= FAILED_UPDATES)); then
    echo "E: File has unexpected size (1234 != 5678). Mirror sync in progress?" >&2
    exit 100
fi
exit 0
SHIM
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query" # nothing is installed
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/sleep"
chmod +x "$work/bin/"*
printf '# a comment\nzorta-test-package\n' >"$work/packages.txt"

failures=0
# check FAILED_UPDATES UPDATES_EXPECTED: the install runs after that many updates were tried.
check() {
    export SHIM_LOG="$work/log.$1" FAILED_UPDATES=$1
    local output
    if ! output=$(cd "$sources" && PATH="$work/bin:$PATH" bash -euo pipefail -c \
        'source tools/install_packages.sh; install_missing "$1"; echo "32-bit missing: [$missing_32bit_packages]"' \
        _ "$work/packages.txt" 2>&1); then
        echo "FAIL: with $1 failed updates the install stopped: $output"
        failures=$((failures + 1))
        return
    fi
    local expected
    expected=$(printf 'apt-get update -q\n%.0s' $(seq "$2"); echo "apt-get install -y -q --no-install-recommends zorta-test-package")
    if [[ $(cat "$SHIM_LOG") != "$expected" || $output != *"32-bit missing: []"* ]]; then
        echo "FAIL: with $1 failed updates: calls"
        cat "$SHIM_LOG"
        echo "output: $output"
        failures=$((failures + 1))
    fi
}
check 1 2  # the second update succeeds
check 99 4 # every update fails: the install goes on with the lists that are there
((failures == 0)) && echo "install_packages: all passed"
exit $((failures > 0))
