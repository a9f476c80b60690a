#!/usr/bin/env bash
# Installs the build as a user and as a package build do, and checks what
# lands in the prefix file by file: the programs, the launcher, the file type
# of diagrams, the icons and the manual pages; then asks the desktop's own
# tools what they make of them.
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

# The programs run from the prefix and tell the project version.
for program in tresselby tresselby-convert; do
    check "$program is executable" test -x "$prefix/bin/$program"
    check "$program tells the version" \
        same "$program $version" "$(env -u DISPLAY "$prefix/bin/$program" --version)"
done

# The launcher.
desktop="$share/applications/$id.desktop"
check "the launcher passes desktop-file-validate" \
    bash -c '! desktop-file-validate "$1" | grep .' bash "$desktop"
key() { sed -n "s/^$1=//p" "$desktop"; }
check "the launcher starts the editor with the file" same "tresselby %f" "$(key Exec)"
check "the launcher is named" same "Tresselby Diagram Tool" "$(key Name)"
check "the launcher's icon is the program's" same "$id" "$(key Icon)"
check "the launcher takes diagrams" same "$mime;" "$(key MimeType)"
check "the launcher carries the version" same "$version" "$(key X-Tresselby-Version)"
check "the launcher is listed under graphics" grep -q '^Categories=Graphics;' "$desktop"
check "the launcher database knows it for diagrams" \
    grep -qxF "$mime=$id.desktop;" "$share/applications/mimeinfo.cache"

# Icons: PNGs of their folder's size with an alpha channel, and SVGs.
# "WIDTH HEIGHT BITS COLOUR-TYPE" of a PNG file, or what is wrong with it.
png_header() {
    /usr/bin/python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read(26)
if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
    sys.exit("not a PNG")
print("%d %d %d %d" % (struct.unpack(">II", data[16:24]) + tuple(data[24:26])))' "$1"
}
for size in $sizes; do
    for png in "apps/$id" "mimetypes/$mime_icon"; do
        file="$share/icons/hicolor/${size}x$size/$png.png"
        # 8 bits a sample, colour with alpha.
        check "$png.png at $size is a $size x $size RGBA PNG" \
            same "$size $size 8 6" "$(png_header "$file" 2>&1)"
    done
done
for svg in "apps/$id" "mimetypes/$mime_icon"; do
    check "$svg.svg is an SVG image" /usr/bin/python3 -c '
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "{http://www.w3.org/2000/svg}svg", root.tag
assert root.get("viewBox") == "0 0 256 256", root.get("viewBox")
assert len(root) > 3' "$share/icons/hicolor/scalable/$svg.svg"
done

# The file type, as the desktop's file type database sees it once built in
# the prefix: by the extension, and by the first bytes where the name has
# none.
check "the file type package is valid XML with the type" /usr/bin/python3 -c '
import sys, xml.etree.ElementTree as ET
ns = "{http://www.freedesktop.org/standards/shared-mime-info}"
types = ET.parse(sys.argv[1]).getroot().findall(ns + "mime-type")
assert [t.get("type") for t in types] == [sys.argv[2]], types
assert [g.get("pattern") for g in types[0].findall(ns + "glob")] == ["*.tsb"]
assert types[0].find(ns + "magic/" + ns + "match") is not None' "$share/mime/packages/$id.xml" "$mime"
mkdir -p "$work/home" "$work/config" "$work/samples"
desktop_env() {
    env -u DBUS_SESSION_BUS_ADDRESS XDG_DATA_HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
        XDG_CONFIG_DIRS="$work/config" XDG_DATA_DIRS="$share:/usr/share" "$@"
}
type_of() { desktop_env gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
for f in "$source"/tests/data/*.tsb "$source"/fuzz/corpus/reader/every-class.tsb; do
    name=$(basename "$f" .tsb)
    check "$name.tsb is a diagram" same "$mime" "$(type_of "$f")"
    cp "$f" "$work/samples/$name"
    check "$name without its extension is a diagram by its first bytes" \
        same "$mime" "$(type_of "$work/samples/$name")"
done
cp "$source/tests/data/caption-only.tsb" "$work/samples/UPPER.TSB"
check "the extension in capitals" same "$mime" "$(type_of "$work/samples/UPPER.TSB")"
# A clipboard block holds the same record after a signature: not a file.
cp "$source/fuzz/corpus/reader/clipboard.tsb" "$work/samples/clipboard"
check "a clipboard block is no diagram file" test "$(type_of "$work/samples/clipboard")" != "$mime"
cp "$share/icons/hicolor/16x16/apps/$id.png" "$work/samples/picture"
check "a picture is no diagram" same "image/png" "$(type_of "$work/samples/picture")"
check "diagrams show their own icon, or else a drawing's" \
    grep -q "standard::icon: $mime_icon, x-office-drawing" \
    <(desktop_env gio info -a standard::icon "$source/tests/data/caption-only.tsb")

# Opening a diagram from the desktop runs the launcher's command with the
# file's full name as one argument; a stand-in editor notes what it got.
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$#" "$@" >"%s/launched"\n' "$work" >"$work/bin/tresselby"
chmod +x "$work/bin/tresselby"
cp "$source/tests/data/caption-only.tsb" "$work/samples/my diagram.tsb"
desktop_env PATH="$work/bin:$PATH" gio open "$work/samples/my diagram.tsb"
for _ in $(seq 50); do [ -s "$work/launched" ] && break; sleep 0.1; done
check "opening a diagram from the desktop starts the editor with it" \
    same "1 $work/samples/my diagram.tsb" "$(tr '\n' ' ' <"$work/launched" 2>/dev/null | sed 's/ $//')"

# Manual pages: clean for the formatter, and of this version.
for page in tresselby tresselby-convert; do
    file="$share/man/man1/$page.1"
    check "$page.1 formats without warnings" \
        bash -c '! groff -man -Tutf8 -ww -z "$1" 2>&1 | grep .' bash "$file"
    check "$page.1 is of this version" grep -q "^\.TH .* \"Tresselby $version\"" "$file"
    check "$page.1 names the program" \
        grep -q "^ *$page - " <(groff -man -Tascii -P-cbou "$file" 2>/dev/null)
done

finish
