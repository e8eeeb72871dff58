#pragma once

#include <QString>

struct Report;

// The liability data of a report in the plain import format the client saves as IMPORT.DAT:
// one record per line (CR LF), fields separated by TAB, the record kind first. See README.md.
class ImportData
{
public:
    struct Request {
        QString borrowerFile;  // written verbatim where the loan file path belongs ("__XFILE__")
        QString updateMessage; // note the host program shows after the import
        QString reference;     // user the data was fetched for
    };

    static QString render(const Report& report, const Request& request);

private:
    static QString line(const QStringList& fields);
    static QString clean(const QString& value);
};
