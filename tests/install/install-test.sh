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
mime=application/x-tresselby-diagram
mime_icon=${mime/\//-}
sizes="16 32 48 64 128 256"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source/tests/support/checks.sh"
. "$source/tests/install/installed-checks.sh"

# Every file an install puts in place, relative to the prefix.
expected_files() {
    echo bin/tresselby
    echo bin/tresselby-convert
    echo "share/applications/$id.desktop"
    echo "share/mime/packages/$id.xml"
    for size in $sizes; do
        echo "share/icons/hicolor/${size}x$size/apps/$id.png"
        echo "share/icons/hicolor/${size}x$size/mimetypes/$mime_icon.png"
    done
    echo "share/icons/hicolor/scalable/apps/$id.svg"
    echo "share/icons/hicolor/scalable/mimetypes/$mime_icon.svg"
    echo "share/metainfo/$id.metainfo.xml"
    echo share/tresselby/diagram.schema.json
    echo share/man/man1/tresselby.1
    echo share/man/man1/tresselby-convert.1
}
files_under() { (cd "$1" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort); }

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
