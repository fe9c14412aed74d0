#!/usr/bin/env bash
# The example session: run from ./run demo with the build folder, the output folder and the 32-bit build
# folder. The library in two processes (the second one of the 32-bit build), the headless CAD host on its
# own, then the host with the plug-in over a survey plan.
set -euo pipefail
build=$1
out=$2
build32=$3
sources="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$out/zorta/DLL"
# A namespace of its own, so that the session never meets another one on this machine; settings and
# registry hives of its own under out/, never the user's; an install folder with its "DLL" folder, as the
# library looks for it, reached as drive Z: in the system's own path grammar.
export ZORTA_NAMESPACE="demo_$$_"
export XDG_CONFIG_HOME="$out/config"
export ZORTA_MACHINE_REGISTRY="$out/registry"
export ZORTA_DRIVE_Z="$out/zorta"
export ZORTA='Z:\'
# The projection definitions and grids in the local folder's "INI" (the install folder here).
mkdir -p "$out/zorta/INI"
cp "$sources/examples/INI/"* "$out/zorta/INI/"
"$build/bin/zorta_library_session" "$build32/bin/zorta_library_session" | tee "$out/library_session.txt"
echo "demo: the session is written to $out/library_session.txt"

# The headless CAD host opens the shipped drawing of standard entities (written by another DXF program),
# saves it again as DXF and as its own binary drawing, reopens the binary one, and draws it as SVG.
examples="$(cd "$(dirname "$0")/../examples" && pwd)"
"$build/bin/zhost" "$examples/standard_entities.dxf" --save "$out/standard_entities.dxf" --svg "$out/standard_entities.svg"
"$build/bin/zhost" "$out/standard_entities.dxf" --save "$out/standard_entities.zdw"
"$build/bin/zhost" "$out/standard_entities.zdw" --save "$out/standard_entities_again.dxf"
cmp -s "$out/standard_entities.dxf" "$out/standard_entities_again.dxf" &&
    echo "demo: the drawing went through DXF and the binary drawing unchanged"
echo "demo: the drawing is written to $out/standard_entities.dxf, .zdw and .svg"

# The host's command line runs a script: LISP over entity lists, a selection, and UNDO taking back a change.
"$build/bin/zhost" "$examples/standard_entities.dxf" --script "$examples/editor_session.scr" >"$out/editor_session.txt"
echo "demo: the transcript of the editor session is written to $out/editor_session.txt"

# The plug-in in the host: ZortaPoly2021x64 loads, the shipped survey plan with its ZORTAPOLY polylines opens,
# and the command ZORTAPOLY installs the plug-in's menu from the install folder and lists the commands and LISP
# functions. The plan is saved again as DXF (with the plug-in's application name) and drawn as SVG.
cp "$sources/plugin/menus/ZORTAPOLY.MNS" "$out/zorta/DLL/"
"$build/bin/zhost" "$examples/survey_polylines.dxf" --load "$build/lib/ZortaPoly2021x64.so" \
    --script "$examples/zortapoly_session.scr" --save "$out/survey_polylines.dxf" --svg "$out/survey_polylines.svg" \
    >"$out/zortapoly_session.txt"
polylines=$(awk 'previous ~ /^ *0$/ && $0 == "ZORTAPOLY" { n++ } { previous = $0 } END { print n + 0 }' \
    "$out/survey_polylines.dxf")
echo "demo: the survey plan was saved with its $polylines ZORTAPOLY polylines"
echo "demo: the plug-in's session is written to $out/zortapoly_session.txt, the plan to $out/survey_polylines.dxf and .svg"

# ZortaPad on a virtual X server: the library session's listing printed into the global text screen (the
# library starts the editor for it), and a screenshot of the screen written to out/.
rm -f "$out/.display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/.display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do [[ -s $out/.display ]] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$out/.display")
export QT_QPA_PLATFORM=xcb ZORTA_TEXT_SCREENS=editor ZORTA_MESSAGEBOX_ANSWER=no
"$build/bin/zorta_show_listing" "$out/library_session.txt"
frame=$("$build/bin/zwin" wait ZortaPad 10000 | awk '{ print $1 }')
sleep 2 # let the screen paint
xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$out/zortapad_listing.png" 2>/dev/null
"$build/bin/zwin" post "$frame" WM_CLOSE >/dev/null
# A window handle carries its owner's pid in its upper half: let ZortaPad end before the X server goes.
pad=$((frame >> 32))
for _ in $(seq 100); do kill -0 "$pad" 2>/dev/null || break; sleep 0.1; done
echo "demo: ZortaPad showed the session's listing in its global text screen: $out/zortapad_listing.png"
