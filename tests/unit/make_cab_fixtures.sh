#!/usr/bin/env bash
# Writes the cabinet reader's test inputs into OUTDIR: the source files under
# OUTDIR/src and the cabinets gcab makes of them. The tests compare what they
# extract with the sources, so the contents need only be stable, not special.
#   make_cab_fixtures.sh OUTDIR
set -euo pipefail
out=$1
export TZ=UTC  # gcab stores local time; keep it the same on every machine
rm -rf "$out/src"
mkdir -p "$out/src/one" "$out/src/multi/sub/deep" "$out/src/pair"

printf 'Hello from a stored cabinet.\r\n' >"$out/src/one/hello.txt"
touch -d '2021-06-15 13:45:30' "$out/src/one/hello.txt"

# Large enough for several 32 KiB data blocks, each file with its own date.
seq 1 15000 >"$out/src/multi/b.bin"
printf 'deep inside\n' >"$out/src/multi/sub/deep/c.txt"
printf 'last of three\n' >"$out/src/multi/a.txt"
touch -d '2004-02-29 23:59:58' "$out/src/multi/b.bin"
touch -d '1999-12-31 00:00:00' "$out/src/multi/sub/deep/c.txt"
touch -d '2021-06-15 13:45:30' "$out/src/multi/a.txt"

# Two plain entries whose names the tests rewrite into hostile ones.
printf 'first\n' >"$out/src/pair/first.txt"
printf 'second\n' >"$out/src/pair/second.txt"
touch -d '2010-01-01 12:00:00' "$out/src/pair/first.txt" "$out/src/pair/second.txt"

(cd "$out/src/one" && gcab -c "$out/one.cab" hello.txt)
(cd "$out/src/multi" && gcab -c -z "$out/multi.cab" b.bin sub/deep/c.txt a.txt)
(cd "$out/src/pair" && gcab -c "$out/pair.cab" first.txt second.txt)
