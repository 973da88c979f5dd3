#!/usr/bin/env bash
# Makes a split set the way other programs leave one, for the end-to-end tests: a
# generated file cut into numbered parts by coreutils' split, with a .crc file and a
# SHA256SUMS list beside them as they travel with such sets. The original file
# stays in original/ to compare with.
#   scripts/make-split-set.sh FOLDER
set -euo pipefail
dir=$1
rm -rf "$dir"
mkdir -p "$dir/original"
original="$dir/original/holiday.mkv"
head -c 300007 /dev/urandom >"$original"
split -b 65536 --numeric-suffixes=1 -a 3 "$original" "$dir/holiday.mkv."
# gzip's trailer holds the CRC-32 of its input, little-endian, as od reads it here.
crc=$(gzip -c "$original" | tail -c 8 | head -c 4 | od -An -tx4 | tr -d ' \n')
printf 'filename=holiday.mkv\r\nsize=%s\r\ncrc32=%s\r\n' "$(stat -c %s "$original")" "$crc" \
    >"$dir/holiday.mkv.crc"
(cd "$dir" && sha256sum holiday.mkv.0* >SHA256SUMS)
