// Fuzzes the masking of secrets on their way into the logs (MaskForLog): a PASSWORD criterion's
// value never gets through, not in a parameter block, not in a request address, not inside an
// error text that carries the block; an order block's SSN and birth date never get through
// whole, whatever description surrounds them. The input is the password, a NUL byte, then the
// other text around it (user name, description).
//
//   build-fuzz/bin/fuzz_mask -max_total_time=600 corpus/mask

#include "FuzzSupport.h"
#include "core/LogMask.h"
#include "core/basLog.h"
#include "service/ParamBlock.h"
#include "service/basUrl.h"

#include <cstdint>

namespace {

// The error text of a failed request that carries the block, as logged.
QString logged(const QString& description, const QString& block)
{
    return MaskForLog(BuildErrorXML("FindReport", description, -2147467259, block));
}

QString credentials(const QString& user, const QString& password)
{
    return ParamBlock("VALIDATECREDENTIALS").add("USER", user).add("PASSWORD", password).text();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = QString::fromUtf8(fuzz::Bytes(data, size));
    const qsizetype cut = input.indexOf(QChar(0));
    const QString password = cut < 0 ? input : input.left(cut), other = cut < 0 ? QString() : input.mid(cut + 1);
    MaskForLog(input); // every text at all: no hang, no crash

    const QString masked = "<CRITERIA FIELDNAME='PASSWORD'>*****</CRITERIA>";
    const QString block = MaskForLog(credentials(other, password)), error = logged(other, credentials(other, password));
    fuzz::Require(block.contains(masked), "block: password not masked", block);
    fuzz::Require(error.contains(masked), "error text: password not masked", error);
    const QString address = MaskForLog("https://h/u.asp?Action=VALIDATECREDENTIALS&USER=" + EncodeFormValue(other)
                                       + "&PASSWORD=" + EncodeFormValue(password));
    fuzz::Require(address.endsWith("&PASSWORD=*****"), "address: password not masked", address);
    // The password's text appears nowhere, unless the same log text without any password holds
    // it too (a short password may well be part of the fixed words).
    const QString escaped = ParamBlock::Escape(password);
    if (!escaped.isEmpty() && !logged(other, credentials(other, QString())).contains(escaped))
        fuzz::Require(!error.contains(escaped) && !block.contains(escaped), "password text left in the log", error);

    // The order's SSN and birth date, in the block and quoted escaped in the description.
    const QString order = ParamBlock("REQUEST").add("SSN", "123456789").add("DOB", "01/15/1980").text();
    const QString refused = logged(other + ParamBlock::Escape(order) + other, order);
    for (const QString& whole : {"123456789", "01/15/1980"})
        fuzz::Require(other.contains(whole) || !refused.contains(whole),
                      "order: SSN or birth date left whole in the log", refused);
    return 0;
}
