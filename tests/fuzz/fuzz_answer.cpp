// Fuzzes the readers of server answers and the date parser with any text. Properties only (the
// rules are held by the unit tests): lines join back to the answer; a 16-bit number that reads
// is the number written; the GETABOUT split stores the answer's fields in order, the
// LOGINBYREFERENCE split holds no separator in a field and no display name twice; a search
// refusal's answer and record agree; an accepted date reads back the same from its own display
// form. Found reports send no reads ahead: a fuzz loop has no event loop to answer them.
//
//   build-fuzz/bin/fuzz_answer -max_total_time=600 corpus/answer

#include "FuzzSupport.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "host/basDates.h"
#include "platform/AppError.h"
#include "service/basActions.h"
#include "service/basAnswer.h"
#include "service/basPrefetch.h"
#include "service/clsReportStatus.h"

#include <cstdint>

namespace {

void checkHelpers(const QString& text)
{
    fuzz::Require(Answer::Lines(text).join('\n') == text, "lines do not join back to the answer", text);
    try {
        Answer::TruthValue(text);
        bool ok = false;
        const qint16 value = Answer::Int16(text);
        fuzz::Require(text.trimmed().toLongLong(&ok) == value || !ok, "a 16-bit number read differently", text);
    } catch (const AppError&) {
    }
}

void checkSplits(const QString& text)
{
    SetProps(std::make_shared<clsProperties>());
    Props().setBaseUrl("no-server:");
    try {
        ReadAboutAnswer(text);
        fuzz::Require(
            text.startsWith(Props().PhoneNumber() + "||" + Props().SupportEmail() + "||" + Props().PasswordSpecs()),
            "the support data do not come from the answer in order", text);
    } catch (const AppError&) {
    }
    try {
        ReadLoginReferences(text);
    } catch (const AppError&) {
    }
    QStringList names;
    for (const auto& ref : Props().LoginByReferences()) {
        fuzz::Require(!names.contains(ref->LongName(), Qt::CaseInsensitive), "a display name listed twice",
                      ref->LongName());
        fuzz::Require(!ref->LongName().contains('|') && !ref->UserName().contains('*'), "a separator inside a field",
                      text);
        names << ref->LongName();
    }
}

void checkSearchAnswer(const QString& text)
{
    Prefetch::SetEnabled(false);
    clsReportStatus().LoadSearchAnswer(text);
    QString answer = text;
    clsReportStatus refused;
    try {
        ReadSearchRefusal(answer, refused);
        fuzz::Require((answer == "ERROR") == (refused.sReportID() == "ERROR"),
                      "the refusal's answer and record disagree", answer);
    } catch (const AppError&) {
    }
}

void checkDate(const QString& text)
{
    const QDate date = ParseDate(text);
    const QString shown = FormatDate(text);
    fuzz::Require(date.isValid() == !shown.isEmpty(), "parser and display disagree", text);
    // Four digits allow years from 0001 (0000 is no year in the calendar used) to 9999.
    fuzz::Require(!date.isValid()
                      || (date.year() >= 1 && date.year() <= 9999 && ParseDate(shown) == date && shown.size() == 10),
                  "a date outside four-digit years, or its display form does not read back", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(fuzz::Bytes(data, size));
    checkHelpers(text);
    checkSplits(text);
    checkSearchAnswer(text);
    checkDate(text);
    fuzz::TrimLogs();
    return 0;
}
