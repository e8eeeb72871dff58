#include "platform/TextFile.h"

#include "platform/PrivateFile.h"
#include "platform/PrivateSaveFile.h"

#include <QFile>

namespace TextFile {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The code page is spelled out here rather
// than asked of Qt: a Qt without ICU (the Windows build) has no such codec, and every system
// must read and write the host's files alike. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their Latin-1 code points, as Windows' own conversion does.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

} // namespace

QString Decode(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b);
    }
    return text;
}

namespace {

// The code page's byte for every UTF-16 unit, 0 where it has none (no character but NUL is
// byte 0): built once from the decoder, so that encoding is one pass whatever the text holds.
const QByteArray& codePage()
{
    static const QByteArray table = [] {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString decoded = Decode(all);
        QByteArray bytes(0x10000, '\0');
        for (int b = 1; b < 256; ++b)
            bytes[decoded.at(b).unicode()] = char(b);
        return bytes;
    }();
    return table;
}

} // namespace

QByteArray Encode(const QString& text)
{
    const char* table = codePage().constData();
    // The code page's own conversion writes "?" for a character it cannot hold (one per
    // character, a pair of surrogates being one) and leaves the zero-width no-break space out.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    const char16_t* in = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i];
        if (c == 0xFEFF)
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(in[i + 1]))
            ++i;
        *out++ = c == 0 ? '\0' : table[c] != '\0' ? table[c] : '?';
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

bool ReadLines(const QString& path, QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = Decode(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines = text.split(QLatin1Char('\n'));
    return true;
}

bool Append(const QString& path, const QString& text)
{
    QFile file(path);
    if (!PrivateFile::Open(file, QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray data = Encode(text);
    const bool written = file.write(data) == data.size();
    return file.flush() && written;
}

bool WriteWhole(const QString& path, const QByteArray& data)
{
    PrivateSaveFile file(path);
    return file.open() && file.write(data) && file.commit();
}

} // namespace TextFile
