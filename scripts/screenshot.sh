#!/usr/bin/env bash
# Takes the README's picture of the calculator window under a virtual X server (Xvfb), so it can be taken
# again after any change to the window: a fresh settings folder, a calculation typed on the keyboard, then
# the window's rectangle cut out of the server's frame buffer.
#   screenshot.sh [BUILD_DIR] [OUTPUT.png] [KEYS]    defaults: build docs/screenshot.png "2^100="
# KEYS are typed into the window as xdotool types them.
set -euo pipefail
repository=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$repository/build}")
output=$(realpath "${2:-$repository/docs/screenshot.png}")
keys=${3:-2^100=}

if [[ -z "${ORVANEL_IN_XVFB:-}" ]]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  # -fbdir keeps the screen in a file (XWD format) that the inner run reads back.
  ORVANEL_IN_XVFB=$work xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -fbdir $work" \
    "$0" "$build" "$output" "$keys"
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
xdotool type --delay 60 "$keys"
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH + 10)) $((Y + HEIGHT + 10))  # the pointer out of the picture
sleep 1  # the display follows the entry on the window's 50 ms timer; a long result takes its time
xwdtopnm "$work/Xvfb_screen0" 2>/dev/null | pnmcut -left "$X" -top "$Y" -width "$WIDTH" -height "$HEIGHT" |
  pnmtopng >"$output"
echo "$output: ${WIDTH}x${HEIGHT}"
