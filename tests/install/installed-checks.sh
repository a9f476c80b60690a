# The checks of an installed tree that an install into a prefix and the
# Debian package share, sourced by their scripts after checks.sh, with `id`,
# `version`, `source` and `work` set: the programs, the launcher, the icons,
# the file type of diagrams and the software centre's entry, with the
# desktop's own tools. The prefix's databases of file types and launchers
# must be built.
mime=application/x-tresselby-diagram
mime_icon=${mime/\//-}
sizes="16 32 48 64 128 256"

# The files of the install tree relative to its prefix, the manual pages
# with the given ending (".gz" where compressed).
installed_files() { # MANUAL-ENDING
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
    echo "share/man/man1/tresselby.1$1"
    echo "share/man/man1/tresselby-convert.1$1"
}
files_under() { (cd "$1" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort); }

check_installed_tree() { # PREFIX
    local prefix=$1
    local share="$prefix/share"
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
    for _ in $(seq 150); do [ -s "$work/launched" ] && break; sleep 0.1; done
    check "opening a diagram from the desktop starts the editor with it" \
        same "1 $work/samples/my diagram.tsb" "$(tr '\n' ' ' <"$work/launched" 2>/dev/null | sed 's/ $//')"

    # The software centre's entry: valid, naming the launcher, the file type
    # and this release.
    local metainfo="$share/metainfo/$id.metainfo.xml"
    check "the software centre's entry passes appstreamcli validate" \
        appstreamcli validate --no-net "$metainfo"
    check "the software centre's entry names the launcher, the file type and the release" \
        /usr/bin/python3 -c '
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
id, mime, version = sys.argv[2:]
assert root.findtext("id") == id
assert root.findtext("launchable[@type=\"desktop-id\"]") == id + ".desktop"
assert [m.text for m in root.findall("provides/mediatype")] == [mime]
assert [r.get("version") for r in root.findall("releases/release")] == [version]
assert root.findtext("screenshots/screenshot/image").endswith(".png")' "$metainfo" "$id" "$mime" "$version"

    # The installed JSON Schema describes what the installed converter writes.
    "$prefix/bin/tresselby-convert" "$source/tests/data/wiring.tsb" "$work/wiring.json"
    check "the installed schema holds the converter's JSON" /usr/bin/python3 -c '
import json, sys, jsonschema
jsonschema.validate(json.load(open(sys.argv[2], encoding="utf-8")),
                    json.load(open(sys.argv[1], encoding="utf-8")),
                    cls=jsonschema.Draft202012Validator)' "$share/tresselby/diagram.schema.json" "$work/wiring.json"
}

# The manual pages in the folder: clean for the formatter, of this version,
# naming their program. SUFFIX .gz reads them compressed, as man does.
check_manual_pages() { # MAN1-DIR [SUFFIX]
    local page file
    for page in tresselby tresselby-convert; do
        file="$work/$page.1"
        zcat -f "$1/$page.1${2-}" >"$file"
        check "$page.1${2-} formats without warnings" \
            bash -c '! groff -man -Tutf8 -ww -z "$1" 2>&1 | grep .' bash "$file"
        check "$page.1${2-} is of this version" grep -q "^\.TH .* \"Tresselby $version\"" "$file"
        check "$page.1${2-} names the program" \
            grep -q "^ *$page - " <(groff -man -Tascii -P-cbou "$file" 2>/dev/null)
    done
}
