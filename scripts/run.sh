#!/usr/bin/env bash
# Starts the calculator window, or explains what to use when there is no display.
set -euo pipefail
build_dir=${1:-build}
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  cat >&2 <<MSG
There is no graphical display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the calculator window
cannot open. The console front end works without one, for example:
  $build_dir/bin/orvanel-cli 2 + 3 =
  echo "1 / 3 =" | $build_dir/bin/orvanel-cli --dev 50
MSG
  exit 1
fi
shift || true
exec "$build_dir/bin/orvanel" "$@"
