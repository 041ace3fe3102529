#!/usr/bin/env bash
# The help document the build prints from the user guide: a PDF with pages, whose text has every
# chapter, both in the contents (with its page number) and as a heading.
#
#   check-guide.sh GUIDE.pdf
#
# PDFINFO and PDFTOTEXT come from the environment (cmake/RunTimeNeeds.cmake finds them).
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 GUIDE.pdf" >&2; exit 2; }
pdf=$1

[ -f "$pdf" ] || { echo "FAIL: $pdf was not made" >&2; exit 1; }
pages=$("$PDFINFO" "$pdf" | sed -n 's/^Pages: *//p')
[ -n "$pages" ] && [ "$pages" -ge 12 ] || { echo "FAIL: $pdf has ${pages:-no} pages" >&2; exit 1; }

text=$(mktemp "${TMPDIR:-/tmp}/orbisk-guide-text.XXXXXX")
trap 'rm -f "$text"' EXIT
"$PDFTOTEXT" -enc UTF-8 -layout "$pdf" "$text"

failures=0
number=0
for chapter in "Назначение программы" "Установка и запуск" "Подключение ПСИ" \
    "Чтение и сохранение данных" "Сравнение с предыдущей проверкой" "Страницы главного окна" \
    "График цикла и гистограмма" "Протоколы и журнал проверки" "Редактирование и запись в ПСИ" \
    "Командная строка" "Сообщения программы" "Приложение"; do
    number=$((number + 1))
    title="$number. $chapter"
    # The contents: the title, its leader and a page number at the end of the line.
    if ! grep -qE "^ *$title[ .…]+[0-9]+ *$" "$text"; then
        echo "FAIL: the contents have no page for «$title»" >&2
        failures=$((failures + 1))
    fi
    # The chapter itself: its title alone on a line.
    if ! grep -qxE " *$title *" "$text"; then
        echo "FAIL: no heading «$title»" >&2
        failures=$((failures + 1))
    fi
done
echo "$pdf: $pages pages, $(stat -c %s "$pdf") bytes, $number chapters"
[ "$failures" -eq 0 ]
