// Fuzzes the masking of secrets on their way into the logs (MaskForLog), with the property
// that a PASSWORD criterion's value never gets through: not in a parameter block, not in a
// request address, not inside an error text that carries the block; and that an order block's
// SSN and birth date never get through whole, whatever description surrounds them. The input is
// the password, a NUL byte, then the other text around it (user name, description).
//
//   build-fuzz/bin/fuzz_mask -max_total_time=600 corpus/mask

#include "FuzzSupport.h"
#include "core/basLog.h"
#include "platform/Secrets.h"
#include "service/ParamBlock.h"
#include "service/basUrl.h"

#include <cstdint>

namespace {

const QString kMasked = QStringLiteral("*****");

void require(bool holds, const char* what, const QString& text)
{
    if (!holds)
        fuzz::Broken(what, text);
}

// The error text of a failed request that carries the block.
QString errorText(const QString& description, const QString& block)
{
    return BuildErrorXML(QStringLiteral("FindReport"), description, -2147467259, block);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = fuzz::Text(data, size);
    const qsizetype cut = input.indexOf(QChar(0));
    const QString password = cut < 0 ? input : input.left(cut);
    const QString other = cut < 0 ? QString() : input.mid(cut + 1);

    // Every text at all: no hang, no crash.
    MaskForLog(input);

    const QString criterion = QStringLiteral("<CRITERIA FIELDNAME='PASSWORD'>");
    const QString block = ParamBlock(QStringLiteral("VALIDATECREDENTIALS"))
                              .add(QStringLiteral("USER"), other)
                              .add(QStringLiteral("PASSWORD"), password)
                              .text();
    const QString maskedBlock = MaskForLog(block);
    require(maskedBlock.contains(criterion + kMasked + QStringLiteral("</CRITERIA>")), "block: password not masked",
            maskedBlock);

    const QString address = QStringLiteral("https://h/u.asp?Action=VALIDATECREDENTIALS&USER=") + EncodeFormValue(other)
        + QStringLiteral("&PASSWORD=") + EncodeFormValue(password);
    require(MaskForLog(address).endsWith(QStringLiteral("&PASSWORD=") + kMasked), "address: password not masked",
            MaskForLog(address));

    const QString error = MaskForLog(errorText(other, block));
    require(error.contains(criterion + kMasked + QStringLiteral("</CRITERIA>")), "error text: password not masked",
            error);
    // The password's text appears nowhere, unless the same log text without any password holds
    // it too (a short password may well be part of the fixed words).
    const QString escaped = ParamBlock::Escape(password);
    const QString without = ParamBlock(QStringLiteral("VALIDATECREDENTIALS"))
                                .add(QStringLiteral("USER"), other)
                                .add(QStringLiteral("PASSWORD"), QString())
                                .text();
    if (!escaped.isEmpty() && !MaskForLog(errorText(other, without)).contains(escaped))
        require(!error.contains(escaped) && !maskedBlock.contains(escaped), "password text left in the log", error);

    // The order's SSN and birth date, in the block and quoted escaped in the description.
    const QString order = ParamBlock(QStringLiteral("REQUEST"))
                              .add(QStringLiteral("SSN"), QStringLiteral("123456789"))
                              .add(QStringLiteral("DOB"), QStringLiteral("01/15/1980"))
                              .text();
    const QString refused = MaskForLog(errorText(other + ParamBlock::Escape(order) + other, order));
    for (const QString& whole : {QStringLiteral("123456789"), QStringLiteral("01/15/1980")})
        if (!other.contains(whole))
            require(!refused.contains(whole), "order: SSN or birth date left whole in the log", refused);
    return 0;
}
