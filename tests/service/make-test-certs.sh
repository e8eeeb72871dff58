#!/usr/bin/env bash
# Makes the certificates of the TLS stand-in server and writes them into the header $1, once per
# build tree, for Linux and Windows alike (the Windows tests cannot run openssl under Wine). A root
# of its own signs three server certificates: one for 127.0.0.1, one for 127.0.0.1 that ends a day
# before it begins (so it has expired), one for another host name.
set -euo pipefail
header=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
openssl() { "${OPENSSL:-/usr/bin/openssl}" "$@"; }
quiet() { "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; }
quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 3650 \
  -subj "/CN=QuillClient Test Root" -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=keyCertSign"
quiet openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out server.key
sign() {  # name days host subjectAltName; the common name is matched too, so it names the host as well
  printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n' "$4" > "$1.ext"
  echo 'keyUsage=critical,digitalSignature,keyEncipherment' >> "$1.ext"
  quiet openssl req -new -key server.key -subj "/CN=$3" -out "$1.csr"
  quiet openssl x509 -req -in "$1.csr" -CA root.pem -CAkey root.key -set_serial "$RANDOM$RANDOM" \
    -days "$2" -extfile "$1.ext" -out "$1.pem"
}
sign good 3650 127.0.0.1 IP:127.0.0.1
sign expired -1 127.0.0.1 IP:127.0.0.1
sign othername 3650 vendor.invalid DNS:vendor.invalid
{
  echo "#pragma once"
  echo "// Made by make-test-certs.sh at build time."
  echo "namespace TestCertificates {"
  echo "inline const char* const root = R\"pem($(cat root.pem))pem\";"
  # Each server certificate with the key as PKCS#12 (base64), the form Schannel can serve from.
  for name in good expired othername; do
    quiet openssl pkcs12 -export -in "$name.pem" -inkey server.key -passout pass: -keypbe PBE-SHA1-3DES \
      -certpbe PBE-SHA1-3DES -macalg sha1 -out "$name.p12"
    echo "inline const char* const $name = \"$(base64 -w0 "$name.p12")\";"
  done
  echo "}"
} > "$header.tmp"
mv "$header.tmp" "$header"
