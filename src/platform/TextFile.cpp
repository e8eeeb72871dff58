#include "platform/TextFile.h"

#include "platform/PrivateFile.h"
#include "platform/PrivateSaveFile.h"

#include <QFile>
#include <QStringDecoder>

namespace TextFile {

QString Decode(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1252");
    return decoder.isValid() ? QString(decoder(bytes)) : QString::fromLatin1(bytes);
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
        for (int b = 1; b < 256 && b < decoded.size(); ++b) {
            if (decoded.at(b) != QChar::ReplacementCharacter)
                bytes[decoded.at(b).unicode()] = char(b);
        }
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
