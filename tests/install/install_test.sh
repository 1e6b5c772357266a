#!/usr/bin/env bash
# Installs the build into a fresh prefix with `cmake --install` and checks the tree there.
#   install_test.sh CMAKE BUILD_DIR CHECK_TREE_ARGUMENTS...   (check_tree.sh's arguments after PREFIX)
set -euo pipefail
cmake=$1 build=$2
shift 2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
"$(dirname "$0")/check_tree.sh" "$prefix" "$@"
