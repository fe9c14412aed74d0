#!/usr/bin/env bash
# The example session: run from ./run demo with the build folder and the output folder.
# Until the CAD host stands, it starts the library in two processes and shows what they share.
set -euo pipefail
build=$1
out=$2
mkdir -p "$out/zorta/DLL"
# A namespace of its own, so that the session never meets another one on this machine; an install folder
# with its "DLL" folder, as the library looks for it.
export ZORTA_NAMESPACE="demo_$$_"
export ZORTA="$out/zorta/"
"$build/bin/zorta_library_session" | tee "$out/library_session.txt"
echo "demo: the session is written to $out/library_session.txt"
