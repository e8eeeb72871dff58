#pragma once

#include <QString>

// Builds a request parameter block:
//   ParamBlock b("PASSWORDEXPIRED"); b.add("USER", name); QString block = b.text();
// gives "<PARAMETERS METHOD='PASSWORDEXPIRED'><CRITERIA FIELDNAME='USER'>name</CRITERIA></PARAMETERS>".
// Names and values are XML-escaped, so the block always reads back to what was added, less the
// characters no XML document can carry (control characters other than TAB, LF and CR, lone
// surrogates, U+FFFE and U+FFFF), which are removed from the value.
class ParamBlock
{
public:
    explicit ParamBlock(const QString& method);

    // Appends one criterion; criteria keep the order in which they are added.
    ParamBlock& add(const QString& fieldName, const QString& value);

    QString text() const;

    // & < > ' " as entities; a carriage return as a character reference, since XML readers
    // turn line ends into a plain line feed. Characters XML cannot carry are dropped.
    static QString Escape(const QString& value);
    // Escape, and tabs and line feeds as references too (attribute values).
    static QString EscapeAttribute(const QString& value);

private:
    QString m_method;
    QString m_criteria;
};
