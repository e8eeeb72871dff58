#include "platform/TextFile.h"

#include <QFile>
#include <QSaveFile>
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
    return encoder.isValid() ? QByteArray(encoder(text)) : text.toLatin1();
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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray data = Encode(text);
    const bool written = file.write(data) == data.size();
    return file.flush() && written;
}

bool WriteWhole(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace TextFile
