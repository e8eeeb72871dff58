// Fuzzes the charset taken from a Content-Type header and the decoding of an answer by it: a
// charset only from a header naming one, never running into the next parameter; without one
// the answer reads as UTF-8. The input is the header value, a NUL byte, then the body.
//
//   build-fuzz/bin/fuzz_charset -max_total_time=600 corpus/charset

#include "FuzzSupport.h"
#include "platform/HttpAnswer.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> parts = fuzz::Bytes(data, size).split('\0');
    const QByteArray header = parts[0], body = parts.size() > 1 ? parts[1] : QByteArray();
    const QByteArray charset = CharsetOf(header);
    fuzz::Require(charset.isEmpty() || header.toLower().contains("charset"), "a charset from a header that names none",
                  QString::fromLatin1(header));
    fuzz::Require(!charset.contains(';'), "a charset running into the next parameter", QString::fromLatin1(charset));
    fuzz::Require(!charset.isEmpty() || DecodeAnswer(body, header) == QString::fromUtf8(body),
                  "an answer without a charset not read as UTF-8", QString::fromLatin1(header));
    return 0;
}
