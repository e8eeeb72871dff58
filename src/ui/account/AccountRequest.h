#pragma once

#include <QString>

// The requests the account windows send themselves to the account-utility address
// (BaseUrl + AspUtil + "Action=" + action + fields), with the credentials of Props().
namespace AccountRequest {

// The form fields of a parameter block; false (already shown and logged by the conversion)
// when the block cannot be read.
bool ToFields(const QString& block, QString& fields);

// Sends a request that only reads, and returns the answer text. Raises the transport's AppError.
QString Read(const QString& action, const QString& fields);

// Sends a request that changes something at the vendor (a new password, new contact details):
// it reaches the server at most once, even when the connection drops before the answer.
// Raises the transport's AppError.
QString Change(const QString& action, const QString& fields);

// text with every occurrence of the given secrets replaced by "*****", for an answer that is
// shown or logged after a request that carried them.
QString WithoutSecrets(QString text, const QStringList& secrets);

} // namespace AccountRequest
