#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build for SECONDS on its seeds (made afresh each run: the suite's own
# files, drawings made with ezdxf, the binary drawings and proxy-graphics images of all of them) and on the
# corpus it grew before, kept under BUILD/corpus/TARGET. An input that breaks a target is saved as
# BUILD/findings/TARGET-crash-..., -leak-..., -timeout-... or -oom-...; the run then fails.
#   tools/fuzz.sh BUILD SECONDS [--seeds-only]   (--seeds-only: a corpus of this run only and a fixed seed,
#                                                 as ./run test uses)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
seconds=$2
seeds_only=${3:-}
bin=$build/bin
work=$build/fuzz-run
rm -rf "$work"
mkdir -p "$work" "$build/findings"
seeds=$work/seeds

targets=(drawing_fuzzer proxy_graphics_fuzzer lisp_script_fuzzer projection_fuzzer settings_fuzzer zip_fuzzer
    xml_url_fuzzer code_pages_fuzzer line_ends_fuzzer)
for target in "${targets[@]}"; do mkdir -p "$seeds/$target"; done

/usr/bin/python3 "$root/tools/make_fuzz_seeds.py" "$seeds"
cp "$root"/examples/*.dxf "$seeds/drawing_fuzzer/"
cp "$root"/examples/*.scr "$seeds/lisp_script_fuzzer/"
"$bin/fuzz_seed_drawings" "$seeds/drawing_fuzzer" "$seeds/proxy_graphics_fuzzer" "$seeds"/drawing_fuzzer/*.dxf
# The projection target's first byte names the file (0 definitions, 1 and 2 translation grids, 3 heights);
# the grids' first lines hold every kind of line.
projection_seed() { { printf "\\x$1"; head -n "$3" "$root/examples/INI/$2"; } >"$seeds/projection_fuzzer/$2"; }
projection_seed 00 Projections.DEF 1000
projection_seed 01 GR3D_ZORTA.TXT 40
projection_seed 02 TRANSLAT_ZORTA.MNT 40
projection_seed 03 EGM96_FRANCE.MNT 4
projection_seed 03 EGM96_FRANCE_L.MNT 200

declare -A dictionary=([drawing_fuzzer]=dxf.dict [lisp_script_fuzzer]=lisp.dict)
status=0
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    [[ $seeds_only ]] && corpus=$work/corpus/$target
    mkdir -p "$corpus"
    options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 -print_final_stats=1
        -artifact_prefix="$build/findings/$target-")
    [[ ${dictionary[$target]:-} ]] && options+=(-dict="$root/tests/fuzz/${dictionary[$target]}")
    # The suite's run mutates the same way every time, so a failure in CI is the one a developer gets again.
    [[ $seeds_only ]] && options+=(-seed=1)
    # Segments, sockets and registry hives of the run's own, never a user's or another run's.
    if ZORTA_NAMESPACE="fuzz_$$_${target}_" XDG_CONFIG_HOME="$work/hives/$target/user" \
        ZORTA_MACHINE_REGISTRY="$work/hives/$target/machine" TMPDIR="$work" \
        ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        "$bin/$target" "${options[@]}" "$corpus" "$seeds/$target" >"$work/$target.log" 2>&1; then
        echo "fuzz: $target: $(grep -m1 -o 'stat::number_of_executed_units: [0-9]*' "$work/$target.log" |
            grep -o '[0-9]*$') runs in ${seconds} s, nothing found"
    else
        status=1
        echo "fuzz: $target FOUND A FAULT; the input is saved as:" >&2
        grep -E "Test unit written to|^finding:" "$work/$target.log" >&2 || tail -n 40 "$work/$target.log" >&2
        echo "fuzz: the whole report is in $work/$target.log" >&2
    fi
done
exit $status
