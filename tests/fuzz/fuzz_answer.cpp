// Fuzzes the answer helpers every server operation reads with. Properties only (the rules are
// held by the unit tests): lines join back to the answer, At gives the line or fails, a number
// that reads is the number written, trimming removes blanks and nothing else.
//
//   build-fuzz/bin/fuzz_answer -max_total_time=600 corpus/answer

#include "FuzzSupport.h"
#include "platform/AppError.h"
#include "service/basAnswer.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz::Text(data, size);
    const QStringList lines = Answer::Lines(text);
    if (lines.join(QLatin1Char('\n')) != text)
        fuzz::Broken("lines do not join back to the answer", text);
    for (qsizetype i : {qsizetype(0), qsizetype(6), lines.size()}) {
        try {
            if (Answer::At(lines, i) != lines.at(i))
                fuzz::Broken("At gave another line", text);
        } catch (const AppError&) {
            if (i < lines.size())
                fuzz::Broken("At failed for a line that exists", text);
        }
    }
    try {
        Answer::TruthValue(text);
        bool ok = false;
        const qint16 value = Answer::Int16(text);
        if (text.trimmed().toLongLong(&ok) != value && ok)
            fuzz::Broken("a 16-bit number read differently", text);
    } catch (const AppError&) {
    }
    const QString trimmed = Answer::TrimBlanks(text);
    if (trimmed.startsWith(QLatin1Char(' ')) || trimmed.endsWith(QLatin1Char(' ')) || !text.contains(trimmed))
        fuzz::Broken("blanks not trimmed, or more than blanks removed", text);
    return 0;
}
