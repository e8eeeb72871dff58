// Fuzzes the field splits of two account answers: GETABOUT ("phone||email||policy") and
// LOGINBYREFERENCE ("Long name*user*password|..."). Properties only: what is stored comes from
// the answer in order, no field holds a separator, no display name is listed twice.
//
//   build-fuzz/bin/fuzz_splits -max_total_time=600 corpus/splits

#include "FuzzSupport.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "service/basActions.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return fuzz::Setup() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz::Text(data, size);
    SetProps(std::make_shared<clsProperties>());
    try {
        ReadAboutAnswer(text);
        const QString joined = Props().PhoneNumber() + QStringLiteral("||") + Props().SupportEmail()
            + QStringLiteral("||") + Props().PasswordSpecs();
        if (!text.startsWith(joined))
            fuzz::Broken("the support data do not come from the answer in order", text);
    } catch (const AppError&) {
    }
    try {
        ReadLoginReferences(text);
    } catch (const AppError&) {
    }
    QStringList names;
    for (const auto& ref : Props().LoginByReferences()) {
        for (const QString& seen : names)
            if (seen.compare(ref->LongName(), Qt::CaseInsensitive) == 0)
                fuzz::Broken("a display name listed twice", ref->LongName());
        names << ref->LongName();
        if (ref->LongName().contains(QLatin1Char('|')) || ref->UserName().contains(QLatin1Char('*')))
            fuzz::Broken("a separator inside a field", text);
    }
    return 0;
}
