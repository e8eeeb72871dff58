#include "platform/TextFile.h"

#include "platform/PrivateFile.h"
#include "platform/PrivateSaveFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace TextFile {

QString Decode(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1252");
    return decoder.isValid() ? QString(decoder(bytes)) : QString::fromLatin1(bytes);
}

QByteArray Encode(const QString& text)
{
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        return text.toLatin1();
    QByteArray bytes = encoder(text);
    if (!encoder.hasError())
        return bytes;
    // The code page's own conversion writes "?" for a character it cannot hold (the encoder
    // would write a control character, once per UTF-16 unit): one "?" per character.
    bytes.clear();
    for (const char32_t c : text.toUcs4()) {
        QStringEncoder single("windows-1252");
        const QByteArray one = single(QString::fromUcs4(&c, 1));
        bytes += single.hasError() ? QByteArray("?") : one;
    }
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
