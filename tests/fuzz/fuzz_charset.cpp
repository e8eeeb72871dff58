// Fuzzes the charset taken from a Content-Type header and the decoding of an answer by it.
// The input is the header value, a NUL byte, then the body.
//
//   build-fuzz/bin/fuzz_charset -max_total_time=600 corpus/charset

#include "FuzzSupport.h"
#include "platform/HttpAnswer.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = input.indexOf('\0');
    const QByteArray header = cut < 0 ? input : input.left(cut);
    const QByteArray body = cut < 0 ? QByteArray() : input.mid(cut + 1);

    const QByteArray charset = CharsetOf(header);
    if (!charset.isEmpty() && !header.toLower().contains("charset"))
        fuzz::Broken("a charset from a header that names none", QString::fromLatin1(header));
    if (charset.contains(';'))
        fuzz::Broken("a charset running into the next parameter", QString::fromLatin1(charset));
    const QString text = DecodeAnswer(body, header);
    if (charset.isEmpty() && text != QString::fromUtf8(body))
        fuzz::Broken("an answer without a charset not read as UTF-8", QString::fromLatin1(header));
    return 0;
}
