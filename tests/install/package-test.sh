#!/usr/bin/env bash
# Makes the Debian package of the build with cpack and checks it as Debian
# and a software centre would: its name and control fields, lintian, the
# AppStream entry, and dpkg installing it into a scratch root with the files
# of the README, which the desktop's own tools then accept as they accept an
# install into a prefix.
# Usage: package-test.sh BUILD-DIR SOURCE-DIR APP-ID VERSION
set -u
build=$1
source=$2
id=$3
version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source/tests/support/checks.sh"
. "$source/tests/install/installed-checks.sh"

# The files of the package, relative to /usr: the install tree with its
# manual pages compressed, and the package's copyright and changelog.
expected_files() {
    installed_files .gz
    echo share/doc/tresselby/copyright
    echo share/doc/tresselby/changelog.gz
}

(cd "$work" && cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake") \
    >"$work/cpack.log" 2>&1
check "cpack makes the package" test $? -eq 0
deb="$work/out/tresselby_${version}_$(dpkg --print-architecture).deb"
check "the package is named tresselby_VERSION_ARCH.deb" test -f "$deb"
field() { dpkg-deb -f "$deb" "$1"; }
check "the package is tresselby of this version" \
    same "tresselby $version $(dpkg --print-architecture)" \
    "$(field Package) $(field Version) $(field Architecture)"
# dpkg-shlibdeps found the libraries the programs link.
for library in libc6 libstdc++6 libqt6widgets6 libjpeg62-turbo zlib1g; do
    check "the package depends on $library" grep -q "\(^\|, \)$library\( (\|,\|$\)" <<<"$(field Depends)"
done
check "lintian reports no errors" lintian --fail-on error "$deb"

# Installed by dpkg into an empty root: the package's own files, no more.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --log=/dev/null --force-not-root --force-depends --force-script-chrootless \
    -i "$deb" >"$work/dpkg.log" 2>&1
check "dpkg installs the package" test $? -eq 0
check "dpkg knows it installed" same "install ok installed" \
    "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f '${Status}' tresselby)"
check "the package puts the README's files in place and nothing else" \
    same "$(expected_files | LC_ALL=C sort)" "$(files_under "$root/usr")"
check "the package writes only under /usr and dpkg's folder" same "usr var" "$(ls "$root" | tr '\n' ' ' | sed 's/ $//')"
check "the copyright names the program" grep -q "Tresselby Diagram Tool" \
    "$root/usr/share/doc/tresselby/copyright"
check "the changelog is of this version" \
    grep -q "^tresselby ($version) " <(zcat "$root/usr/share/doc/tresselby/changelog.gz")

# The databases that the triggers of shared-mime-info and
# desktop-file-utils build on a real system, then the checks of an install.
update-mime-database "$root/usr/share/mime" >/dev/null 2>&1
update-desktop-database "$root/usr/share/applications" >/dev/null 2>&1
check_installed_tree "$root/usr"
check_manual_pages "$root/usr/share/man/man1" .gz

finish
