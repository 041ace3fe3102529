#!/usr/bin/env bash
# Builds the Debian package from a built tree and looks at it as dpkg, a desktop and Debian's
# own checks would, without installing it: the control fields, the files and where they lie,
# the menu entry, the data file type, the icons, the manual pages, the help document, the
# command-line program run from the unpacked tree, and lintian.
#
#   check-package.sh BUILD_DIR VERSION APP_TITLE MIME_TYPE SAMPLE.bbd
#
# The tools come from the environment (cmake/RunTimeNeeds.cmake finds them): CPACK, DPKG_DEB,
# DESKTOP_FILE_VALIDATE, XMLLINT, UPDATE_MIME_DATABASE, PDFINFO, LINTIAN, PERL, GZIP_COMMAND
# (not GZIP, which gzip itself reads as options).
set -euo pipefail

[ $# -eq 5 ] || { echo "usage: $0 BUILD_DIR VERSION APP_TITLE MIME_TYPE SAMPLE.bbd" >&2; exit 2; }
build=$1 version=$2 title=$3 mime=$4 sample=$5

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
check() {
    local what=$1
    shift
    "$@" || fail "$what"
}

work=$(mktemp -d "${TMPDIR:-/tmp}/orbisk-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The package, made in a folder of this test's own so that it never meets a package build of
# the tree.
start=$SECONDS
if ! "$CPACK" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" \
    2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack made no package" >&2
    exit 1
fi
deb=$work/out/orbisk_${version}_amd64.deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb") in:" >&2; ls "$work/out" >&2; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, made in $((SECONDS - start)) s"

# Control fields.
field() { "$DPKG_DEB" --field "$deb" "$1"; }
check "Package is orbisk" test "$(field Package)" = orbisk
check "Version is $version" test "$(field Version)" = "$version"
check "Architecture is amd64" test "$(field Architecture)" = amd64
check "Section is set" test -n "$(field Section)"
check "Maintainer has a name and an address" \
    grep -qE '^[^<]+ <[^@>]+@[^>]+>$' <<<"$(field Maintainer)"
depends=$(field Depends)
depended=$(sed -e 's/ ([^)]*)//g' -e 's/, /\n/g' <<<"$depends")
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 \
    libqt6serialport6 libqt6svg6 qt6-translations-l10n; do
    check "Depends names $library: $depends" grep -qxF "$library" <<<"$depended"
done
check "the description has a synopsis and a long text" \
    test "$(field Description | wc -l)" -ge 3

# The files and where they lie.
root=$work/root
"$DPKG_DEB" -x "$deb" "$root"
"$DPKG_DEB" --contents "$deb" >"$work/contents.txt"
check "every file is root's" \
    test -z "$(awk '$2 != "root/root"' "$work/contents.txt")"
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
check "nothing outside /usr: $outside" test -z "$outside"
programs=$(cd "$root/usr/bin" && ls | tr '\n' ' ')
check "/usr/bin holds the three programs and nothing else: $programs" \
    test "$programs" = "orbisk orbisk-cli orbisk-sim "
for program in orbisk orbisk-cli orbisk-sim; do
    check "$program is executable" test -x "$root/usr/bin/$program"
done

share=$root/usr/share
# The program looks in ../share/orbisk/ from /usr/bin.
help=$share/orbisk/orbis_k.pdf
check "the help document is in /usr/share/orbisk" test -f "$help"
check "the help document has pages" \
    grep -qE '^Pages: +[1-9]' <<<"$("$PDFINFO" "$help" 2>/dev/null || true)"
link=$share/doc/orbisk/orbis_k.pdf
check "the documents link to the help document" test -L "$link"
check "the link reaches the help document" \
    test -f "$link" -a "$(readlink -f "$link")" = "$(readlink -f "$help")"
check "copyright in Debian's machine-readable format" \
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$share/doc/orbisk/copyright"
check "the changelog's newest entry is this version" \
    grep -q "^orbisk ($version) " \
    <<<"$("$GZIP_COMMAND" -dc "$share/doc/orbisk/changelog.gz" | head -n 1)"

# The menu entry.
desktop=$share/applications/orbisk.desktop
if [ -f "$desktop" ]; then
    verdict=$("$DESKTOP_FILE_VALIDATE" "$desktop" 2>&1 || echo "(failed)")
    check "desktop-file-validate accepts the menu entry: $verdict" test -z "$verdict"
    entry() { sed -n "s/^$1=//p" "$desktop"; }
    check "the menu entry's name is the window's title" test "$(entry Name)" = "$title"
    check "the menu entry has a comment" test -n "$(entry Comment)"
    check "the menu entry opens the file it is given" test "$(entry Exec)" = "orbisk %f"
    check "the menu entry's icon is the program's" test "$(entry Icon)" = orbisk
    check "the menu entry is among engineering programs" \
        grep -q '^Categories=.*Engineering;' "$desktop"
    check "the menu entry opens the data files" test "$(entry MimeType)" = "$mime;"
else
    fail "no menu entry /usr/share/applications/orbisk.desktop"
fi

# The data file type, registered in a scratch copy of a MIME database.
types=$share/mime/packages/orbisk.xml
if [ -f "$types" ]; then
    check "the data file type is well-formed XML" "$XMLLINT" --noout "$types"
    check "the data file type is in the shared MIME namespace" \
        test "$("$XMLLINT" --xpath 'namespace-uri(/*)' "$types")" = \
        http://www.freedesktop.org/standards/shared-mime-info
    mkdir -p "$work/mime/packages"
    cp "$types" "$work/mime/packages/"
    # A database in the search path, or update-mime-database says it is not.
    if XDG_DATA_HOME=$work XDG_DATA_DIRS=$work "$UPDATE_MIME_DATABASE" "$work/mime" \
        >"$work/mime.log" 2>&1; then
        check "the MIME database has no complaint: $(cat "$work/mime.log")" \
            test ! -s "$work/mime.log"
        check "*.bbd is $mime" grep -qxF "50:$mime:*.bbd" "$work/mime/globs2"
        registered=$work/mime/${mime}.xml
        check "the type carries the Russian comment" \
            grep -qF '<comment>Файл данных регистратора параметров</comment>' "$registered"
        check "the type carries an English comment" grep -qF '<comment xml:lang="en">' "$registered"
    else
        fail "update-mime-database refused the data file type: $(cat "$work/mime.log")"
    fi
else
    fail "no data file type /usr/share/mime/packages/orbisk.xml"
fi

# The icon in the theme: scalable, and PNG of the size its folder names.
icons=$share/icons/hicolor
check "the scalable icon is SVG" grep -q '<svg' "$icons/scalable/apps/orbisk.svg"
for size in 16 32 48 64 128 256; do
    png=$icons/${size}x${size}/apps/orbisk.png
    if [ -f "$png" ]; then
        # Width and height are the big-endian words at bytes 16 and 20 of the header.
        dimensions=$(od -An -tu1 -j16 -N8 "$png" | awk '{
            width = (($1 * 256 + $2) * 256 + $3) * 256 + $4
            height = (($5 * 256 + $6) * 256 + $7) * 256 + $8
            print width "x" height }')
        signature=$(head -c 8 "$png" | od -An -tx1 | tr -d ' ')
        check "$png is a PNG" test "$signature" = 89504e470d0a1a0a
        check "the ${size} px icon is ${size}x${size}, not $dimensions" \
            test "$dimensions" = "${size}x${size}"
    else
        fail "no ${size} px icon"
    fi
done

# The manual pages, the command-line ones made from the programs' own usage texts.
man=$share/man/man1
for program in orbisk orbisk-cli orbisk-sim; do
    check "the manual page of $program is compressed whole" "$GZIP_COMMAND" -t "$man/$program.1.gz"
done
# The synopsis of a page, with troff's escapes undone.
synopsis() {
    "$GZIP_COMMAND" -dc "$1" | awk '/^\.SH/ { inside = ($2 == "SYNOPSIS"); next }
        inside && !/^\.(nf|fi)$/' | sed -e 's/^\\&//' -e 's/\\-/-/g' -e 's/\\e/\\/g'
}
for program in orbisk-cli orbisk-sim; do
    usage=$("$root/usr/bin/$program" --help 2>&1 | sed '1s/^[Uu]sage: //' || true)
    check "the synopsis of $program is its usage:
$(synopsis "$man/$program.1.gz")
---
$usage" test "$(synopsis "$man/$program.1.gz")" = "$usage"
done
check "the orbisk page has a synopsis" test -n "$(synopsis "$man/orbisk.1.gz")"

# The command-line program from the unpacked package on the sample data.
# A fixed clock, or an image with an invalid date would show a different day in each run.
cli_options=(--config "$work/orbisk.ini" --now "01.12.2026 12:00")
if "$root/usr/bin/orbisk-cli" "${cli_options[@]}" show "$sample" >"$work/show.json" \
    2>"$work/show.err"; then
    crane=$("$PERL" -MJSON::PP -e '
        local $/; my $data = JSON::PP->new->utf8->decode(<STDIN>);
        print $data->{checksum_ok} ? "checksum ok " : "checksum bad ";
        binmode STDOUT, ":utf8"; print $data->{controls}{eMarka} // "";' <"$work/show.json" 2>&1) ||
        fail "the JSON of the packaged orbisk-cli does not parse: $crane"
    check "the packaged orbisk-cli shows the sample's crane type: $crane" \
        test "$crane" = "checksum ok КС-45717К-1"
    check "the packaged orbisk-cli prints what the built one does" \
        cmp -s "$work/show.json" \
        <("$build/bin/orbisk-cli" "${cli_options[@]}" show "$sample" 2>/dev/null)
else
    fail "the packaged orbisk-cli show failed: $(cat "$work/show.err")"
fi

# Debian's own checks: an error or a warning fails. One kept on purpose would be overridden in
# the package (/usr/share/lintian/overrides/orbisk), with its reason.
"$LINTIAN" --fail-on error,warning --info "$deb" >"$work/lintian.log" 2>&1 || fail "lintian:"
# As root (CI), lintian says that it would rather not be.
grep -v '^running with root privileges' "$work/lintian.log" | sed 's/^/  lintian: /' || true

echo "package checked in $((SECONDS - start)) s"
if [ "$failures" -gt 0 ]; then
    echo "$failures checks failed" >&2
    exit 1
fi
