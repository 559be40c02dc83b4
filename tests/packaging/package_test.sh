#!/usr/bin/env bash
# Installs the build into a temporary root and builds the Debian package, then
# checks that both hold exactly the expected files and that the packaged
# programs run. The package is only unpacked (dpkg-deb -x), never installed.
# Neither step builds anything: they take the tree as it was built.
#   package_test.sh <build folder> <expected file list>
set -euo pipefail

build=$(cd "$1" && pwd)
expected=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
source "$(dirname "$0")/own_folders.sh"
own_folders "$tmp"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Files (and links) under a root, relative to it, sorted.
file_list() {
    (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
}

same_files() {
    local what=$1 root=$2
    if ! diff -u <(LC_ALL=C sort "$expected") <(file_list "$root") >"$tmp/diff"; then
        cat "$tmp/diff" >&2
        fail "$what: the files differ from $expected (- missing, + unexpected)"
    fi
}

# The width and height in a PNG's header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $3 * 256 + $4, $7 * 256 + $8 }'
}

check_tree() {
    local what=$1 root=$2
    same_files "$what" "$root"
    for icon in "$root"/usr/share/icons/hicolor/*/apps/sonoria.png; do
        folder=$(basename "$(dirname "$(dirname "$icon")")")
        [ "$(png_size "$icon")" = "$folder" ] || fail "$what: $icon is $(png_size "$icon"), not $folder"
    done
    [ -x "$root/usr/bin/sonoria" ] && [ -x "$root/usr/bin/sonoria-cli" ] || fail "$what: the programs are not executable"
    zcat "$root/usr/share/man/man1/sonoria-cli.1.gz" >"$tmp/man"
    grep -q '^\.TH SONORIA-CLI "1"' "$tmp/man" || fail "$what: the manual page has no title line"
    grep -q 'print\\-udev\\-rules' "$tmp/man" || fail "$what: the manual page does not list the commands"
    grep -q '^settings set KEY=VALUE' "$tmp/man" && grep -q '^reset \\fB\\-\\-yes' "$tmp/man" ||
        fail "$what: the manual page does not list the machine administration"
    grep -q '^Icon=sonoria$' "$root/usr/share/applications/sonoria.desktop" || fail "$what: the launcher names no theme icon"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$root/usr/share/applications/sonoria.desktop" || fail "$what: desktop entry"
    fi
    if command -v appstreamcli >/dev/null; then
        # Also checks that the installed file name matches the component id.
        appstreamcli validate --no-net "$root/usr/share/metainfo/org.sonoria.control.metainfo.xml" ||
            fail "$what: metadata"
    fi
}

touch "$tmp/before"
echo "== cmake --install into a temporary root"
DESTDIR="$tmp/installed" cmake --install "$build" --prefix /usr >/dev/null
check_tree "installed tree" "$tmp/installed"

echo "== cpack -G DEB"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1 || {
    cat "$tmp/cpack.log" >&2
    fail "cpack"
}
# Neither the install nor cpack (which runs the build tool first) built anything.
rebuilt=$(find "$build" -type f -newer "$tmp/before" \( -name '*.o' -o -name '*.a' -o -name sonoria -o -name sonoria-cli \))
[ -z "$rebuilt" ] || fail "packaging rebuilt part of the tree: $rebuilt"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$tmp/package/sonoria_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb") in: $(ls "$tmp/package")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Found by dpkg-shlibdeps from the binaries, next to the hand-named fonts.
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for needed in libc6 libqt6widgets6 libhidapi-hidraw0 libnlopt0 libstdc++6 fonts-wine fonts-wqy-microhei; do
    grep -qxF "$needed" <<<"$names" || fail "Depends lacks $needed"
done

dpkg-deb -e "$deb" "$tmp/control"
[ -x "$tmp/control/postinst" ] || fail "no executable postinst"
grep -q 'udevadm control --reload-rules' "$tmp/control/postinst" || fail "postinst does not reload the udev rules"
sh -n "$tmp/control/postinst" || fail "postinst is not a valid shell script"

dpkg-deb -x "$deb" "$tmp/unpacked"
check_tree "package" "$tmp/unpacked"

echo "== the packaged sonoria-cli"
cli="$tmp/unpacked/usr/bin/sonoria-cli"
"$cli" --help >"$tmp/help" || fail "sonoria-cli --help exited with $?"
grep -q 'print-udev-rules' "$tmp/help" || fail "sonoria-cli --help lists no commands"
"$cli" --virtual info >"$tmp/info" || fail "sonoria-cli --virtual info exited with $?"
cat "$tmp/info"
grep -q '^hardware-version: ' "$tmp/info" || fail "sonoria-cli --virtual info printed no device"
echo "package test passed: $(basename "$deb")"
