// Fuzzes the answer helpers every server operation reads with: the line split, the element
// access, truth values, 16-bit numbers and the trimming of blanks.
//
//   build-fuzz/bin/fuzz_answer -max_total_time=600 corpus/answer

#include "FuzzSupport.h"
#include "platform/AppError.h"
#include "service/basAnswer.h"

#include <cstdint>

namespace {

void checkLines(const QString& text)
{
    const QStringList lines = Answer::Lines(text);
    if (lines.join(QLatin1Char('\n')) != text)
        fuzz::Broken("lines do not join back to the answer", text);
    for (qsizetype i : {qsizetype(0), qsizetype(1), qsizetype(6), lines.size()}) {
        try {
            if (Answer::At(lines, i) != lines.at(i))
                fuzz::Broken("At gave another line", text);
        } catch (const AppError& e) {
            if (e.Number != 9 || i < lines.size())
                fuzz::Broken("At failed for a line that exists, or not with 9", text);
        }
    }
}

void checkValues(const QString& text)
{
    try {
        Answer::TruthValue(text);
    } catch (const AppError& e) {
        if (e.Number != 13)
            fuzz::Broken("a truth value failed with another number than 13", text);
    }
    try {
        const qint16 value = Answer::Int16(text);
        bool ok = false;
        if (text.trimmed().toLongLong(&ok) != value && ok)
            fuzz::Broken("a 16-bit number read differently", text);
    } catch (const AppError& e) {
        if (e.Number != 13 && e.Number != 6)
            fuzz::Broken("a number failed with another number than 13 or 6", text);
    }
    const QString trimmed = Answer::TrimBlanks(text);
    if (trimmed.startsWith(QLatin1Char(' ')) || trimmed.endsWith(QLatin1Char(' ')) || !text.contains(trimmed))
        fuzz::Broken("blanks not trimmed, or more than blanks removed", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz::Text(data, size);
    checkLines(text);
    checkValues(text);
    return 0;
}
