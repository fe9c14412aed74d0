#!/usr/bin/env bash
# The example session: run from ./run demo with the build folder and the output folder.
set -euo pipefail
build=$1
out=$2
mkdir -p "$out"
echo "demo: the library is built at $build/lib/libZortaGen64.so; the example session comes with the host."
