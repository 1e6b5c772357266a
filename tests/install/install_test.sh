#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what lands there: the programs and the library with
# its links and nothing else beside them (no test program or oracle library), the documents and the desktop
# files; and that the installed programs take libovnliblt from the prefix, not from the build tree.
#   install_test.sh CMAKE BUILD_DIR BINDIR LIBDIR DATADIR WITH_GUI(0|1) LIBRARY_FILE...
set -euo pipefail
cmake=$1 build=$2 bindir=$3 libdir=$4 datadir=$5 with_gui=$6
shift 6
library_files=("$@")

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The folder of the prefix holds exactly the given names.
expect_listing() {
  local folder=$1
  shift
  local found expected
  found=$(ls -A "$prefix/$folder" | sort) || true
  expected=$(printf '%s\n' "$@" | sort -u)
  [[ "$found" == "$expected" ]] || fail "$folder/ holds: $(echo $found); expected: $(echo $expected)"
}

programs=(orvanel-cli)
files=("$datadir/orvanel/README.md" "$datadir/orvanel/orvanel.html")
if [[ $with_gui == 1 ]]; then
  programs+=(orvanel)
  files+=("$datadir/applications/orvanel.desktop" "$datadir/icons/hicolor/scalable/apps/orvanel.svg"
    "$datadir/mime/packages/orvanel-num.xml")
fi

expect_listing . "${bindir%%/*}" "${libdir%%/*}" "${datadir%%/*}"
expect_listing "$bindir" "${programs[@]}"
expect_listing "$libdir" "${library_files[@]}"
for file in "${files[@]}"; do
  [[ -f "$prefix/$file" ]] || fail "$file is not installed"
done

installed_libdir=$(realpath "$prefix/$libdir")
for program in "${programs[@]}"; do
  library=$(ldd "$prefix/$bindir/$program" | awk '/libovnliblt/ { print $3 }')
  [[ -n "$library" && $(realpath "$(dirname "$library")") == "$installed_libdir" ]] ||
    fail "installed $program takes libovnliblt from '$library'"
done

sum=$("$prefix/$bindir/orvanel-cli" 2 + 3 =) || fail "installed orvanel-cli failed"
[[ "$sum" == 5 ]] || fail "installed orvanel-cli 2 + 3 = printed '$sum'"

((failures == 0))
