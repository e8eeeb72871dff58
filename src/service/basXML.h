#pragma once

#include <QString>

// Turns the criteria of a parameter block into the field string of a request address: for
// each CRITERIA child of PARAMETERS, in order, "&" + name + "=" + value, name and value
// form-encoded (EncodeFormValue). A block that is not well-formed gives an empty field string.
//
// A criterion without FIELDNAME fails: the "Error in BuildKeyValueString" box is shown, fields
// receives the error text (the block as its information), that text is written to errors.log
// and the result is false.
bool BuildKeyValueString(const QString& block, QString& fields);

// The same conversion without a box or a log line: false when the block does not convert.
// For reads sent ahead of their step, which shows the failure itself when it gets there.
bool TryBuildKeyValueString(const QString& block, QString& fields);
