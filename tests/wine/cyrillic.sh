#!/usr/bin/env bash
# Cyrillic names on Windows: orbisk-cli.exe in C:\Проверка with its INI beside it, the data file
# C:\Проверка\Данные\кран.bbd opened, saved (created, then replaced) and reported, with outputs
# as the Linux build's; the archive of checks kept in that data folder.
. "$(dirname "$0")/wine-common.sh"
make_scratch
cd "$work"
folder="$WINEPREFIX/drive_c/Проверка"
trap 'rm -rf "$folder" "$work"' EXIT
mkdir -p "$folder/Данные"
cp "$WINDOWS_BIN/orbisk-cli.exe" "$folder/"
cp "$SAMPLES/current.bbd" "$folder/Данные/кран.bbd"
printf '[Иванов]\r\nИмя=Иван\r\nРаботает=ООО "Кран-Сервис"\r\nУдостоверение=77\r\n' |
  iconv -f UTF-8 -t CP1251 >register.ini
# The INI beside the program: found without --config.
cp register.ini "$folder/orbisk.ini"
cli='C:\Проверка\orbisk-cli.exe'
data='C:\Проверка\Данные\кран.bbd'

# Opened.
run linux.out linux.err "$LINUX_CLI" --config register.ini --now "$NOW" show "$SAMPLES/current.bbd"
run windows.out windows.err wine "$cli" --now "$NOW" show "$data"
[ "$status" = 0 ] || fail "show: exit status $status: $(cat windows.err)"
cmp -s linux.out windows.out || fail "show: the output differs from Linux"

# Reported, with the specialist of the INI beside the program.
run linux.html linux.err "$LINUX_CLI" --config register.ini --now "$NOW" report \
  "$SAMPLES/current.bbd" --kind 1 --cycles 4 --specialist Иванов
run windows.out windows.err wine "$cli" --now "$NOW" report "$data" --kind 1 --cycles 4 \
  --specialist Иванов -o 'C:\Проверка\Данные\отчёт.html'
[ "$status" = 0 ] || fail "report: exit status $status: $(cat windows.err)"
[ ! -s windows.err ] || fail "report: $(cat windows.err)"
cmp "$folder/Данные/отчёт.html" linux.html || fail "report: the page differs from Linux"
iconv -f CP1251 -t UTF-8 linux.html | grep -q "Иван" || fail "report: no specialist in the page"

# Saved: created, then replaced in place, with no scratch file left behind.
for round in created replaced; do
  run windows.out windows.err wine "$cli" --yes read --port 0x378 --simulate "$data" \
    -o 'C:\Проверка\Данные\копия.bbd' --trace 'C:\Проверка\Данные\шина.trace'
  [ "$status" = 0 ] || fail "save ($round): exit status $status: $(cat windows.err)"
  cmp "$SAMPLES/current.bbd" "$folder/Данные/копия.bbd" || fail "save ($round): the file differs"
  [ -s "$folder/Данные/шина.trace" ] || fail "save ($round): no bus trace"
done
leftovers="$(find "$folder" -name '*.tmp')"
[ -z "$leftovers" ] || fail "scratch files left: $leftovers"
# Kept in the archive of checks: its SQLite file in the data folder, the previous check found by
# the crane; an archive on a server is refused, as this build has no engine for it.
cp "$SAMPLES/previous.bbd" "$folder/Данные/кран-2024.bbd"
run windows.out windows.err wine "$cli" archive add 'C:\Проверка\Данные'
[ "$status" = 0 ] || fail "archive: exit status $status: $(cat windows.err)"
[ -s "$folder/Данные/archive.sqlite" ] || fail "archive: no archive.sqlite in the data folder"
run windows.out windows.err wine "$cli" archive previous "$data"
[ "$(tr -d '\r' <windows.out)" = 'C:\Проверка\Данные\кран-2024.bbd' ] ||
  fail "archive: the previous check is «$(cat windows.out)» ($(cat windows.err))"
run windows.out windows.err wine "$cli" archive --archive postgresql://127.0.0.1/orbisk list
[ "$status" = 1 ] && grep -q "на сервере в этой сборке программы недоступен" windows.err ||
  fail "archive on a server: exit status $status: $(cat windows.err)"
report_time "Cyrillic paths"
