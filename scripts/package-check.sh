#!/usr/bin/env bash
# Checks a built Debian package the way CI does: lintian prints no error or warning (a tag the package
# overrides would carry its reason in the override), the package has no maintainer scripts, it depends on
# Qt's Russian translations, and its unpacked tree passes the same checks as a `cmake --install` prefix.
#   package-check.sh PACKAGE.deb
set -euo pipefail
package=$1
repository=$(cd "$(dirname "$0")/.." && pwd)

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

echo "== lintian $package"
report=$(lintian --show-overrides "$package") || fail "lintian finds errors"
if [[ -n "$report" ]]; then
  echo "$report"
  # O: an overridden tag, N: the override's reason
  grep -qv -e '^O: ' -e '^N: ' <<<"$report" && fail "lintian tags above that are not overridden"
fi

control=$(mktemp -d)
root=$(mktemp -d)
trap 'rm -rf "$control" "$root"' EXIT
dpkg-deb --control "$package" "$control"
extra=$(ls "$control" | grep -vx -e control -e md5sums || true)
[[ -z "$extra" ]] || fail "maintainer scripts in the package: $(echo $extra)"
dpkg-deb --field "$package" Depends | grep -qw qt6-translations-l10n || fail "no dependency on qt6-translations-l10n"

echo "== the unpacked tree"
dpkg-deb --extract "$package" "$root"
version=$(dpkg-deb --field "$package" Version)
"$repository/tests/install/check_tree.sh" "$root/usr" bin lib/orvanel share share/man share/doc/orvanel 1 \
  "libovnliblt.so.${version%%.*}" "libovnliblt.so.$version" || fail "the unpacked tree"
((failures == 0)) && echo "== $package passes"
