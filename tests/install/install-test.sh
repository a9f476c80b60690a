#!/usr/bin/env bash
# Installs the build as a user and as a package build do, and checks what
# lands in the prefix file by file: the programs, the launcher, the file type
# of diagrams, the icons, the software centre's entry, the JSON Schema and the
# manual pages; then asks the desktop's own tools what they make of them.
# Usage: install-test.sh BUILD-DIR SOURCE-DIR APP-ID VERSION
set -u
build=$1
source=$2
id=$3
version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source/tests/support/checks.sh"
. "$source/tests/install/installed-checks.sh"

# Every file an install puts in place, relative to the prefix.
expected_files() { installed_files ""; }

# A package build stages the files under DESTDIR: exactly the files above,
# and no database of the desktop's (the package's triggers build those).
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr/local >"$work/stage.log" 2>&1
check "staged install succeeds" test $? -eq 0
check "staged install puts every file in place and nothing else" \
    same "$(expected_files | LC_ALL=C sort)" "$(files_under "$work/stage/usr/local")"
check "staged install writes only under its prefix" same "usr" "$(ls "$work/stage")"

# A user installs straight into a prefix, here one with a space in its name.
prefix="$work/my prefix"
share="$prefix/share"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1
check "install succeeds" test $? -eq 0
missing=$(expected_files | while read -r f; do [ -f "$prefix/$f" ] || echo "$f"; done)
check "install puts every file in place" same "" "$missing"
# Besides them only the databases of file types and launchers, built there.
others=$(files_under "$prefix" | grep -vxF -f <(expected_files) |
    grep -v -e '^share/mime/' -e '^share/applications/mimeinfo.cache$')
check "install adds nothing but the desktop's databases" same "" "$others"

check_installed_tree "$prefix"

check_manual_pages "$share/man/man1"

finish
