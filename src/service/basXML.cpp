#include "service/basXML.h"

#include "core/MsgBox.h"
#include "core/basLog.h"
#include "platform/AppError.h"
#include "platform/XmlDocument.h"
#include "service/basUrl.h"

namespace {

const QString kSource = QStringLiteral("BuildKeyValueString");

QString fieldsOf(const QString& block)
{
    XmlDocument doc;
    // A block that does not read would otherwise send the request without any of its fields.
    if (!doc.loadXML(block))
        throw AppError(5, QStringLiteral("The parameter block is not well-formed XML, so its criteria cannot be read"),
                       kSource);
    QString fields;
    for (const XmlNode& node : doc.childrenOf(QStringLiteral("PARAMETERS"))) {
        if (node.baseName() != QLatin1String("CRITERIA"))
            continue;
        const auto name = node.attribute(QStringLiteral("FIELDNAME"));
        if (!name)
            throw AppError(91, QStringLiteral("A CRITERIA element has no FIELDNAME attribute"), kSource);
        fields += QLatin1Char('&') + EncodeFormValue(*name) + QLatin1Char('=') + EncodeFormValue(node.text());
    }
    return fields;
}

} // namespace

bool BuildKeyValueString(const QString& block, QString& fields)
{
    try {
        fields = fieldsOf(block);
        return true;
    } catch (const AppError& e) {
        MsgBox(QStringLiteral("Error: ") + QString::number(e.Number) + QLatin1Char('-') + e.Description, vbCritical,
               QStringLiteral("Error in BuildKeyValueString"));
        fields = BuildErrorXML(e.Source, e.Description, e.Number, block);
        WriteErrorLog(fields);
        return false;
    }
}

bool TryBuildKeyValueString(const QString& block, QString& fields)
{
    try {
        fields = fieldsOf(block);
        return true;
    } catch (const AppError&) {
        return false;
    }
}
