#!/usr/bin/env bash
# ZortaPad in French on a real X server (Xvfb), kept as screenshots in ARTEFACTS: the toolbar with its icons,
# the lock keys' panes following Caps Lock, the find dialog with its direction and whole-word choices, and a
# question whose buttons read Oui/Non (Qt's French translations).
#   xvfb_french_test.sh BIN_DIR ARTEFACTS
set -euo pipefail
bin=$1
artefacts=$2
source "$(dirname "$0")/xvfb_session.sh"
mkdir -p "$artefacts"
printf '[Settings]\nIVersion=1\nWindowPos=0,1,-1,-1,-1,-1,0,0,800,600\n' >"$XDG_CONFIG_HOME/zorta/ZortaPad.INI"
printf 'Ligne %s du listing\r\n' {1..30} >"$work/listing.txt"
head -c $((5 << 20)) /dev/zero | tr '\0' 'x' >"$work/big.txt"

start_xvfb 1024x768
export QT_QPA_PLATFORM=xcb
unset ZORTA_MESSAGEBOX_ANSWER

# The X window whose title is exactly $1, or nothing after 20 s.
x_window() {
    for _ in $(seq 200); do
        local id
        id=$(xwininfo -root -tree 2>/dev/null | awk -v want="\"$1\": (\"ZortaPad\"" 'index($0, want) { print $1; exit }')
        [[ -n $id ]] && { echo "$id"; return; }
        sleep 0.1
    done
}
# Saves X window $1 as PPM file $2.
shoot() {
    xwd -id "$1" -silent | xwdtopnm 2>/dev/null >"$2"
}
# The number of colours of PPM file $1 that are not grey.
tinted_colours() {
    ppmhist -noheader "$1" | awk '$1 != $2 || $2 != $3 { n++ } END { print n + 0 }'
}
# Locks (1) or unlocks (0) Caps Lock on the server, as a keyboard would.
caps_lock() {
    /usr/bin/python3 - "$1" <<'PY'
import ctypes, sys
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
lock_mask = 2
x11.XkbLockModifiers(display, 0x100, lock_mask, lock_mask if sys.argv[1] == "1" else 0)
x11.XSync(display, 0)
PY
}

"$bin/ZortaPad" "$work/listing.txt" &
pids+=($!)
frame=$(x_window "ZortaPad - [listing.txt]")
[[ -n $frame ]] || fail "no ZortaPad window naming its document on $DISPLAY"
sleep 1

# The toolbar: below the menu bar, a strip of pictures in colour.
shoot "$frame" "$work/frame.ppm"
pnmcut -top 0 -height 70 "$work/frame.ppm" >"$work/top.ppm"
pnmtopng "$work/top.ppm" >"$artefacts/zortapad_toolbar.png" 2>/dev/null
tinted=$(tinted_colours "$work/top.ppm")
((tinted > 20)) || fail "the toolbar shows no pictures ($tinted tinted colours)"

# The lock keys' panes at the right of the status bar follow Caps Lock.
height=$(pnmfile "$work/frame.ppm" | awk '{ print $6 }')
pnmcut -top $((height - 30)) "$work/frame.ppm" >"$work/status_off.ppm"
caps_lock 1
sleep 1
shoot "$frame" "$work/frame.ppm"
caps_lock 0
pnmcut -top $((height - 30)) "$work/frame.ppm" >"$work/status_on.ppm"
pnmtopng "$work/status_on.ppm" >"$artefacts/zortapad_status_caps.png" 2>/dev/null
cmp -s "$work/status_off.ppm" "$work/status_on.ppm" && fail "the status bar does not show Caps Lock"

# The find dialog, opened by its command as the menu opens it.
handle=$("$bin/zwin" wait ZortaPad 5000) || fail "ZortaPad is not on the window bus"
"$bin/zwin" post "$handle" WM_COMMAND 57636 >/dev/null
dialog=$(x_window Rechercher)
[[ -n $dialog ]] || fail "no Rechercher dialog"
sleep 1
shoot "$dialog" "$work/find.ppm"
pnmtopng "$work/find.ppm" >"$artefacts/zortapad_find.png" 2>/dev/null
kill "${pids[-1]}"

# A question with Yes and No: the load of a file of more than 4 MiB, in a session of its own.
ZORTA_NAMESPACE=${ZORTA_NAMESPACE:-}big_ "$bin/ZortaPad" "$work/big.txt" &
pids+=($!)
# The question is the smaller of the program's two windows.
box=""
for _ in $(seq 200); do
    box=$(xwininfo -root -tree | awk '/"ZortaPad( - \[.*\])?": \("ZortaPad"/ { split($5, size, "x"); print size[1], $1 }' |
        sort -n | awk 'NR == 1 && NF { first = $2 } END { if (NR == 2) print first }')
    [[ -n $box ]] && break
    sleep 0.1
done
[[ -n $box ]] || fail "no question about the big file"
sleep 1
shoot "$box" "$work/box.ppm"
pnmtopng "$work/box.ppm" >"$artefacts/zortapad_question.png" 2>/dev/null
echo "screenshots in $artefacts: zortapad_toolbar.png ($tinted tinted colours), zortapad_status_caps.png," \
    "zortapad_find.png, zortapad_question.png"
