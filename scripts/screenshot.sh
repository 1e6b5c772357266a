#!/usr/bin/env bash
# Takes the README's picture of the calculator window under a virtual X server (Xvfb), so it can be taken
# again after any change to the window: a fresh settings folder, a calculation typed on the keyboard, then
# the window's rectangle cut out of the server's frame buffer.
#   screenshot.sh [BUILD_DIR] [OUTPUT.png] [TEXT [KEY...]]    defaults: build docs/screenshot.png "2^100="
# TEXT is typed into the window; each KEY (an xdotool key name such as alt+Cyrillic_es, Tab, space) is then
# pressed in turn, and the picture is of the window that has the focus at the end, a dialog the keys opened
# for instance. Qt's own dialogs, to see them in Russian:
#   Сервис → Цвет, a colour:    screenshot.sh build colour.png "" alt+Cyrillic_es Cyrillic_tse Tab Tab Tab space
#   Число → Сохранить, Обзор:   screenshot.sh build save.png 5 alt+Cyrillic_che Cyrillic_es Return
#   the rounding question:      screenshot.sh build input.png 2.5~
set -euo pipefail
repository=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$repository/build}")
output=$(realpath "${2:-$repository/docs/screenshot.png}")
text=${3-2^100=}
keys=("${@:4}")

if [[ -z "${ORVANEL_IN_XVFB:-}" ]]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  # -fbdir keeps the screen in a file (XWD format) that the inner run reads back.
  ORVANEL_IN_XVFB=$work xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -fbdir $work" \
    "$0" "$build" "$output" "$text" "${keys[@]}"
  exit
fi

work=$ORVANEL_IN_XVFB
mkdir -p "$work/config" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
ORVANEL_CONFIG_DIR=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime LANG=C.UTF-8 \
  "$build/bin/orvanel" &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Orvane Lite' | head -n 1)
xdotool windowfocus --sync "$window"
xdotool type --delay 60 "$text"
for key in "${keys[@]}"; do
  sleep 0.5  # a menu or a dialog takes its time to open and take the focus
  xdotool key "$key"
done
sleep 2  # the display follows the entry on a 50 ms timer, a long result takes its time, a dialog its files
window=$(xdotool getwindowfocus)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH + 10)) $((Y + HEIGHT + 10))  # the pointer out of the picture
sleep 0.2
xwdtopnm "$work/Xvfb_screen0" 2>/dev/null | pnmcut -left "$X" -top "$Y" -width "$WIDTH" -height "$HEIGHT" |
  pnmtopng >"$output"
echo "$output: ${WIDTH}x${HEIGHT}"
