#!/usr/bin/env bash
# orbisk-cli.exe under Wine gives the Linux orbisk-cli's outputs byte for byte: standard output,
# standard error and exit status of show, name and the five reports, on the samples and on
# damaged, hostile and wrongly sized images. One table of cases, run by both programs in one
# folder with the same relative names.
. "$(dirname "$0")/wine-common.sh"
make_scratch
cd "$work"

cp "$SAMPLES/current.bbd" "$SAMPLES/previous.bbd" .
head -c 65536 /dev/zero >zeros.bbd
head -c 65536 /dev/zero | tr '\0' '\377' >ones.bbd
# Noise from a fixed seed, the same on every run.
LC_ALL=C awk 'BEGIN { srand(1729); for (i = 0; i < 65536; i++) printf "%c", int(rand() * 256) }' \
  >noise.bbd
[ "$(stat -c %s noise.bbd)" = 65536 ] || fail "noise image of $(stat -c %s noise.bbd) bytes"
cp current.bbd damaged-identification.bbd
dd if=noise.bbd of=damaged-identification.bbd bs=1 count=512 conv=notrunc status=none
cp current.bbd damaged-records.bbd
dd if=noise.bbd of=damaged-records.bbd bs=4096 skip=8 seek=8 count=4 conv=notrunc status=none
head -c 1000 current.bbd >short.bbd
cat current.bbd noise.bbd >long.bbd
# The specialists register, as the program writes it: Windows-1251 with CR LF.
printf '[Иванов]\r\nИмя=Иван\r\nОтчество=Петрович\r\nРаботает=ООО "Кран-Сервис"\r\nУдостоверение=77\r\n' |
  iconv -f UTF-8 -t CP1251 >register.ini

images=(current previous zeros ones noise damaged-identification damaged-records short long)
commands=("show" "show --previous previous.bbd" "name")
for kind in 1 2 3 4 5; do
  commands+=("report --kind $kind --cycles 4 --specialist Иванов")
done

cases=0
failures=0
for image in "${images[@]}"; do
  for command in "${commands[@]}"; do
    read -r -a words <<<"$command"
    verb="${words[0]}"
    args=("$image.bbd" "${words[@]:1}")
    # Each run on a copy of the register: a run may write the configuration back.
    cp register.ini linux.ini
    cp register.ini windows.ini
    run linux.out linux.err "$LINUX_CLI" --config linux.ini --now "$NOW" --yes "$verb" "${args[@]}"
    linux_status=$status
    run windows.out windows.err wine "$WINDOWS_BIN/orbisk-cli.exe" --config windows.ini \
      --now "$NOW" --yes "$verb" "${args[@]}"
    cases=$((cases + 1))
    label="$verb ${args[*]}"
    if [ "$status" != "$linux_status" ]; then
      echo "$label: exit status $status on Windows, $linux_status on Linux" >&2
      failures=$((failures + 1))
    elif ! cmp -s linux.out windows.out; then
      echo "$label: standard output differs ($(stat -c %s windows.out) bytes on Windows," \
        "$(stat -c %s linux.out) on Linux)" >&2
      cmp linux.out windows.out >&2 || true
      failures=$((failures + 1))
    elif ! cmp -s linux.err windows.err; then
      echo "$label: standard error differs" >&2
      diff linux.err windows.err >&2 || true
      failures=$((failures + 1))
    elif ! cmp -s linux.ini windows.ini; then
      echo "$label: the configuration file differs afterwards" >&2
      failures=$((failures + 1))
    fi
  done
done
# The table must have exercised real outputs, not only refusals.
grep -q "Иван" <(iconv -f CP1251 -t UTF-8 linux.out) || fail "the last report names no specialist"
[ "$failures" = 0 ] || fail "$failures of $cases cases differ"
report_time "$cases cases identical"
