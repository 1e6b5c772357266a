#!/usr/bin/env bash
# Checks an installed tree (a `cmake --install` prefix, or the /usr of an unpacked .deb): the programs and
# the private library with its version link and nothing else beside them (no test program, no oracle
# library, no development link), the documents, manual pages and desktop files, that the desktop entry and
# the AppStream metadata pass their validators, and that the installed programs take libovnliblt from the
# tree itself through their RUNPATH, not from the build tree or the system.
#   check_tree.sh PREFIX BINDIR PRIVATELIBDIR DATADIR MANDIR DOCDIR WITH_GUI(0|1) LIBRARY_FILE...
set -euo pipefail
prefix=$1 bindir=$2 libdir=$3 datadir=$4 mandir=$5 docdir=$6 with_gui=$7
shift 7
library_files=("$@")

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
files=("$datadir/orvanel/README.md" "$datadir/orvanel/orvanel.html" "$mandir/man1/orvanel-cli.1.gz"
  "$docdir/copyright" "$docdir/changelog.gz")
desktop_entry=$datadir/applications/orvanel.desktop
metainfo=$datadir/metainfo/invalid.orvane.orvanel.metainfo.xml
mime_type=$datadir/mime/packages/orvanel-num.xml
if [[ $with_gui == 1 ]]; then
  programs+=(orvanel)
  files+=("$desktop_entry" "$metainfo" "$mime_type" "$datadir/icons/hicolor/scalable/apps/orvanel.svg"
    "$mandir/man1/orvanel.1.gz")
fi

expect_listing . "${bindir%%/*}" "${libdir%%/*}" "${datadir%%/*}"
expect_listing "$bindir" "${programs[@]}"
expect_listing "$libdir" "${library_files[@]}"
for file in "${files[@]}"; do
  [[ -f "$prefix/$file" ]] || fail "$file is not installed"
done

if [[ $with_gui == 1 ]]; then
  desktop-file-validate "$prefix/$desktop_entry" || fail "desktop-file-validate rejects $desktop_entry"
  appstreamcli validate --no-net "$prefix/$metainfo" >/dev/null || fail "appstreamcli rejects $metainfo"
  # The file manager opens *.num files with the program only if the entry names the type the MIME file defines.
  type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$prefix/$mime_type")
  grep -qx "MimeType=$type;" "$prefix/$desktop_entry" || fail "$desktop_entry does not open '$type'"
fi

installed_libdir=$(realpath "$prefix/$libdir")
for program in "${programs[@]}"; do
  library=$(ldd "$prefix/$bindir/$program" | awk '/libovnliblt/ { print $3 }')
  [[ -n "$library" && $(realpath "$(dirname "$library")") == "$installed_libdir" ]] ||
    fail "installed $program takes libovnliblt from '$library'"
done

sum=$("$prefix/$bindir/orvanel-cli" 2 ^ 64 =) || fail "installed orvanel-cli failed"
[[ "$sum" == 18446744073709551616 ]] || fail "installed orvanel-cli 2 ^ 64 = printed '$sum'"
"$prefix/$bindir/orvanel-cli" --help | grep -q '^Usage: orvanel-cli' || fail "installed orvanel-cli --help"

((failures == 0))
