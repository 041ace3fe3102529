#!/bin/sh
# Prints the user guide (orbis_k.html beside this script) to a PDF with headless Chromium.
#
#   docs/guide/make-pdf.sh OUT.pdf [CHROMIUM]
#
# CHROMIUM is the browser to run (default: chromium, chromium-browser or google-chrome, the
# first found). When pdftotext (poppler-utils) is at hand, the guide is printed twice: the first
# print tells on which page each section begins, the second one carries those page numbers in
# the table of contents. Without pdftotext the contents list the sections without page numbers.
# ORBISK_PDF_TIMEOUT sets the seconds one print may take (default 180); ORBISK_PDFTOTEXT names
# the pdftotext to run (default: the one on the PATH).
set -eu

usage() {
    echo "usage: $0 OUT.pdf [CHROMIUM]" >&2
    exit 2
}

fail() {
    echo "make-pdf.sh: $*" >&2
    exit 1
}

if [ $# -lt 1 ] || [ $# -gt 2 ] || [ -z "$1" ]; then
    usage
fi

here=$(cd "$(dirname "$0")" && pwd)
source_html="$here/orbis_k.html"
[ -f "$source_html" ] || fail "the guide $source_html is missing"

case "$1" in
    /*) out=$1 ;;
    *) out=$(pwd)/$1 ;;
esac
out_dir=$(dirname "$out")
[ -d "$out_dir" ] || fail "the folder $out_dir does not exist"

if [ $# -eq 2 ]; then
    chromium=$2
else
    chromium=
    for candidate in chromium chromium-browser google-chrome; do
        if command -v "$candidate" >/dev/null 2>&1; then
            chromium=$candidate
            break
        fi
    done
    [ -n "$chromium" ] || fail "no Chromium found; give its path as the second argument"
fi
command -v "$chromium" >/dev/null 2>&1 || fail "cannot run $chromium"
command -v timeout >/dev/null 2>&1 || fail "the timeout command (coreutils) is missing"
seconds=${ORBISK_PDF_TIMEOUT:-180}
pdftotext=${ORBISK_PDFTOTEXT:-pdftotext}

# The flag that leaves out the date, title and URL that Chromium prints around each page:
# --no-pdf-header-footer since the new headless mode (version 120 at the latest),
# --print-to-pdf-no-header before it. An unknown flag is ignored, so both go to an old or
# unrecognised version.
major=$("$chromium" --version 2>/dev/null | sed -n 's/^[^0-9]*\([0-9][0-9]*\)\..*/\1/p' | head -n 1)
if [ -n "$major" ] && [ "$major" -ge 120 ]; then
    no_header="--no-pdf-header-footer"
else
    no_header="--no-pdf-header-footer --print-to-pdf-no-header"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/orbisk-guide.XXXXXX")
cleanup() {
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# file:// address of the guide; characters that mean something in an address are escaped.
base_url="file://$(printf '%s' "$source_html" | sed -e 's/%/%25/g' -e 's/ /%20/g' -e 's/#/%23/g' -e 's/?/%3F/g')"

# print_pdf URL TARGET: one print in a fresh profile; true when TARGET is a PDF.
print_pdf() {
    rm -f "$2"
    rm -rf "$work/profile"
    mkdir -p "$work/profile" "$work/xdg"
    # shellcheck disable=SC2086  # $no_header holds one or two flags
    if ! XDG_CONFIG_HOME="$work/xdg" XDG_CACHE_HOME="$work/xdg" \
        timeout "$seconds" "$chromium" --headless --no-sandbox --disable-gpu --disable-quic \
        --no-first-run --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$work/profile" $no_header --print-to-pdf="$2" "$1" \
        >"$work/chromium.log" 2>&1; then
        echo "make-pdf.sh: $chromium failed or ran longer than $seconds s; its last lines:" >&2
        tail -n 5 "$work/chromium.log" >&2 || true
    fi
    [ -s "$2" ] && [ "$(head -c 5 "$2")" = "%PDF-" ]
}

# page_list PDF: "id:page,..." for every section heading of the guide found in the PDF's text.
# The contents repeat every heading, so each heading is looked for from the end: the last page
# (before the next heading's page) that has a line beginning with it.
page_list() {
    "$pdftotext" -enc UTF-8 "$1" "$work/text.txt" 2>/dev/null || return 1
    grep -o '<h[12] id="[^"]*">[^<]*</h[12]>' "$source_html" |
        sed -e 's/^<h[12] id="\([^"]*\)">\(.*\)<\/h[12]>$/\1	\2/' >"$work/headings.txt"
    LC_ALL=C awk -F '\t' -v text="$work/text.txt" '
        function squeeze(s) {
            gsub(/[ \t\r]+/, " ", s)
            sub(/^ /, "", s)
            sub(/ $/, "", s)
            return s
        }
        BEGIN {
            pages = 1
            while ((getline line < text) > 0) {
                while ((i = index(line, "\f")) > 0) {
                    rest = substr(line, i + 1)
                    line = substr(line, 1, i - 1)
                    if (line != "") lines[pages, ++count[pages]] = squeeze(line)
                    pages++
                    line = rest
                }
                lines[pages, ++count[pages]] = squeeze(line)
            }
        }
        { id[NR] = $1; key[NR] = substr(squeeze($2), 1, 60) }
        END {
            limit = pages
            for (n = NR; n >= 1; n--) {
                found = 0
                for (p = limit; p >= 2 && !found; p--) {
                    for (l = 1; l <= count[p]; l++) {
                        if (substr(lines[p, l], 1, length(key[n])) == key[n]) { found = p; break }
                    }
                }
                if (found) { page[n] = found; limit = found }
            }
            sep = ""
            for (n = 1; n <= NR; n++) {
                if (page[n]) { printf "%s%s:%d", sep, id[n], page[n]; sep = "," }
            }
            printf "\n"
        }' "$work/headings.txt"
}

first="$work/first.pdf"
print_pdf "$base_url" "$first" ||
    fail "Chromium made no PDF of $source_html (see the messages above)"

result=$first
if command -v "$pdftotext" >/dev/null 2>&1; then
    pages=$(page_list "$first" || true)
    if [ -n "$pages" ]; then
        found=$(printf '%s\n' "$pages" | tr ',' '\n' | grep -c .)
        total=$(grep -c . "$work/headings.txt")
        if [ "$found" -lt "$total" ]; then
            echo "make-pdf.sh: the page of $((total - found)) of $total sections was not found" >&2
        fi
        second="$work/second.pdf"
        if print_pdf "$base_url?pages=$pages" "$second"; then
            result=$second
        else
            echo "make-pdf.sh: the second print failed; the contents stay without page numbers" >&2
        fi
    else
        echo "make-pdf.sh: no section found in the PDF text; the contents stay without page numbers" >&2
    fi
else
    echo "make-pdf.sh: pdftotext not found; the contents stay without page numbers" >&2
fi

cp "$result" "$out.part" || fail "cannot write $out"
mv -f "$out.part" "$out" || fail "cannot write $out"
[ -s "$out" ] || fail "the PDF $out was not made"
echo "$out"
