#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
#   setup.sh run   what building and starting the calculator needs
#   setup.sh test  that, plus the oracles of the tests and benchmarks (GMP, MPFR, GoogleTest, Benchmark) and
#                  clang with libFuzzer for the fuzz targets
#   setup.sh package  what building and starting needs, plus dpkg-shlibdeps for the package's dependencies
#                     and the checkers of the package (lintian, the desktop entry and AppStream validators)
#   setup.sh screenshot  what building and starting needs, plus a virtual X server to photograph the window
set -euo pipefail

# qt6-translations-l10n: Qt's own dialogs in Russian; qt6-svg-dev: the about window's picture.
run_packages=(g++ cmake make qt6-base-dev qt6-svg-dev libgl-dev qt6-translations-l10n)
# The installed-tree test runs the desktop entry and AppStream validators.
validators=(desktop-file-utils appstream)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev libgmp-dev libmpfr-dev clang libclang-rt-14-dev
  "${validators[@]}")
package_packages=(dpkg-dev lintian "${validators[@]}")
screenshot_packages=(xvfb xauth xdotool x11-utils netpbm)

case "${1:-run}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
  package) wanted=("${run_packages[@]}" "${package_packages[@]}") ;;
  screenshot) wanted=("${run_packages[@]}" "${screenshot_packages[@]}") ;;
  *) echo "usage: $0 run|test|package|screenshot" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  sudo=(sudo -n)
else
  echo "These Debian packages are missing: ${missing[*]}" >&2
  echo "Install them as root: apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" || {
    echo "apt-get could not install: ${missing[*]}" >&2
    exit 1
  }
fi
