# Sourced by the tests that run ZortaPad on a real X server: a work folder and the processes started, both
# cleaned at exit, `fail`, settings of their own under the work folder, and `start_xvfb WxH` which starts the
# server and exports its DISPLAY.
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/zorta"

start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
    [[ -s $work/display ]] || fail "Xvfb did not start"
    export DISPLAY=:$(head -n1 "$work/display")
}
