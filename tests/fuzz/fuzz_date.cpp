// Fuzzes the one date parser (host/basDates.h): whatever it accepts is a real date that reads
// back the same from its own display form.
//
//   build-fuzz/bin/fuzz_date -max_total_time=600 corpus/date

#include "FuzzSupport.h"
#include "host/basDates.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz::Text(data, size);
    const QDate date = ParseDate(text);
    const QString shown = FormatDate(text);
    if (date.isValid() != !shown.isEmpty())
        fuzz::Broken("parser and display disagree", text);
    if (!date.isValid())
        return 0;
    // Four digits allow years from 0001 (0000 is no year in the calendar used) to 9999.
    if (date.year() < 1 || date.year() > 9999)
        fuzz::Broken("a year outside four digits", text);
    if (ParseDate(shown) != date || shown.size() != 10)
        fuzz::Broken("the display form does not read back", shown);
    return 0;
}
