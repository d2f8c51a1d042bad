#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Installs the build into a scratch root with cmake --install and checks what was installed:
# install_tree_test.sh BUILD_DIR
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$1" --prefix /usr >/dev/null
# Nothing installed may be writable by others.
if [ -n "$(find "$root" -perm /022 ! -type l)" ]; then
    find "$root" -perm /022 ! -type l >&2
    echo "FAIL: installed files writable by others" >&2
    exit 1
fi
sh "$here/check_installed.sh" "$root/usr/bin" "$root/usr/share"
