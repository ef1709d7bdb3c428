#!/bin/sh
# make-samples.sh FOLDER: from FOLDER/sample.dll, signed.dll (a throwaway
# self-signed certificate), tampered.dll (changed after signing), badblob.dll
# (its signature, after the signed bytes and an 8-byte header, garbled),
# truncated.dll, garbage.dll and folder.dll (a folder).
set -eu
cd "$1"
[ -f key.pem ] || openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem \
  -subj "/CN=Brovantine Test Signer" -days 3650 >/dev/null 2>&1
patch() { printf '%s' "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc 2>/dev/null; }
size=$(stat -c %s sample.dll)
rm -f signed.dll && osslsigncode sign -certs cert.pem -key key.pem -in sample.dll -out signed.dll >/dev/null
cp signed.dll tampered.dll && patch tampered.dll 96 X
cp signed.dll badblob.dll && patch badblob.dll $(((size + 7) / 8 * 8 + 40)) XXXXXXXXXXXXXXXX
head -c "$((size / 2))" sample.dll >truncated.dll
{ printf 'MZ'; head -c 4094 /dev/zero | tr '\0' '\377'; } >garbage.dll
mkdir -p folder.dll
