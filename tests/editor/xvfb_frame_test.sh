#!/usr/bin/env bash
# ZortaPad on a real X server: the frame stands at the rectangle saved in "WindowPos" (xwininfo), and a
# screenshot of it (xwd, netpbm) shows more than one colour there. The screenshot is kept in ARTEFACTS.
#   xvfb_frame_test.sh BIN_DIR ARTEFACTS
set -euo pipefail
bin=$1
artefacts=$2
source "$(dirname "$0")/xvfb_session.sh"
mkdir -p "$artefacts"
printf '[Settings]\nIVersion=1\nWindowPos=0,1,-1,-1,-1,-1,120,90,760,570\n' >"$XDG_CONFIG_HOME/zorta/ZortaPad.INI"
printf 'Ligne 1\tcolonne\r\nLigne 2\r\n%.0s' {1..40} >"$work/listing.txt"

start_xvfb 1280x1024

QT_QPA_PLATFORM=xcb ZORTA_MESSAGEBOX_ANSWER=no "$bin/ZortaPad" "$work/listing.txt" &
pids+=($!)
window=""
for _ in $(seq 200); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"ZortaPad - \[listing.txt\]": \("ZortaPad"/ { print $1; exit }')
    [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $window ]] || fail "no ZortaPad window naming its document on $DISPLAY"
sleep 1 # let the frame paint

info=$(xwininfo -id "$window")
field() { awk -F: -v key="$1" '$1 ~ key { gsub(/ /, "", $2); print $2 }' <<<"$info"; }
[[ $(field "Absolute upper-left X") == 120 && $(field "Absolute upper-left Y") == 90 ]] ||
    fail "frame not at 120,90: $info"
[[ $(field "Width") == 640 && $(field "Height") == 480 ]] || fail "frame not 640x480: $info"

xwd -root -silent | xwdtopnm 2>/dev/null >"$work/screen.ppm"
pnmcut -left 120 -top 90 -width 640 -height 480 "$work/screen.ppm" >"$work/frame.ppm"
colours=$(ppmhist -noheader "$work/frame.ppm" | wc -l)
((colours > 1)) || fail "the frame's region is one colour"
pnmtopng "$work/screen.ppm" >"$artefacts/zortapad_frame.png" 2>/dev/null
echo "ZortaPad stands at 120,90 640x480 with $colours colours; screenshot in $artefacts/zortapad_frame.png"
