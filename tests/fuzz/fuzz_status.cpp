// Fuzzes the readers of a report search's answer: the status block of a found report
// (clsReportStatus::Load) and FIND_REPORT's refusal reader. The overall-status request that
// Load sends goes to an address refused before any connection is made. Properties only: no
// crash, and the refusal's answer and record agree.
//
//   build-fuzz/bin/fuzz_status -max_total_time=600 corpus/status

#include "FuzzSupport.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "service/basActions.h"
#include "service/clsReportStatus.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!fuzz::Setup())
        return 1;
    SetProps(std::make_shared<clsProperties>());
    Props().setBaseUrl(QStringLiteral("no-server:"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static unsigned long runs = 0;
    const QString text = fuzz::Text(data, size);
    clsReportStatus status;
    status.Load(text);
    QString answer = text;
    clsReportStatus refused;
    try {
        ReadSearchRefusal(answer, refused);
        if ((answer == QLatin1String("ERROR")) != (refused.sReportID() == QLatin1String("ERROR")))
            fuzz::Broken("the refusal's answer and record disagree", answer);
    } catch (const AppError&) {
    }
    fuzz::TrimLogs(++runs);
    return 0;
}
