#!/bin/sh
# Makes the sample files of the file checks in FOLDER from sample.dll (a DLL
# of resources only, with version information): signed.dll, signed with a
# throwaway self-signed certificate; tampered.dll, changed after signing;
# badblob.dll, its signature garbled; truncated.dll; garbage.dll; folder.dll,
# a folder. With --bench, signed DLLs of 1 MB and 50 MB instead.
#   make-samples.sh [--bench] FOLDER
set -eu
bench=0
[ "$1" = --bench ] && { bench=1; shift; }
cd "$1"
[ -f key.pem ] || openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem \
  -subj "/CN=Brovantine Test Signer" -days 3650 >/dev/null 2>&1
sign() { rm -f "$2" && osslsigncode sign -certs cert.pem -key key.pem -in "$1" -out "$2" >/dev/null; }
if [ "$bench" = 1 ]; then
  for size in 1 50; do
    cp sample.dll big.tmp && head -c "$((size * 1000000))" /dev/zero >>big.tmp
    sign big.tmp "signed-${size}mb.dll" && rm big.tmp
  done
  exit 0
fi
# Writes TEXT over a file's bytes at OFFSET.
patch() { printf '%s' "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc 2>/dev/null; }
sign sample.dll signed.dll
cp signed.dll tampered.dll && patch tampered.dll 96 X
# The signature follows the signed bytes, on an eight-byte boundary, behind
# an eight-byte header.
cp signed.dll badblob.dll && patch badblob.dll $((($(stat -c %s sample.dll) + 7) / 8 * 8 + 40)) XXXXXXXXXXXXXXXX
head -c "$(($(stat -c %s sample.dll) / 2))" sample.dll >truncated.dll
{ printf 'MZ'; head -c 4094 /dev/zero | tr '\0' '\377'; } >garbage.dll
mkdir -p folder.dll
