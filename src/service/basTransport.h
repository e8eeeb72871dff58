#pragma once

#include "platform/AppError.h"
#include "platform/HttpPolicy.h"

#include <QString>

#include <functional>
#include <optional>

class QObject;

class clsProperties;

// The credential fields of a request address, names and values form-encoded:
// "UserName=<user>&Password=<password>", or, when loginByRef is set and the settings hold a
// login reference, the reference's login followed by
// "&LoginByRefUserName=<user>&LoginByRefPassword=<password>" with the user's own login.
QString CredentialFields(const clsProperties& props, bool loginByRef);

// BaseUrl + AspUtil + "Action=" + action + fields.
QString AccountAddress(const clsProperties& props, const QString& action, const QString& fields);

// BaseUrl + AspUtil + credential fields + "&Action=" + action + fields.
QString CredentialedAccountAddress(const clsProperties& props, const QString& action, const QString& fields);

// BaseUrl + PostLocation + credential fields + "&action=" + action + fields.
QString ReportAddress(const clsProperties& props, const QString& action, const QString& fields);

// How often a request may reach the server.
enum class Delivery {
    // Reads: the network layer may send the request again when a connection drops unanswered.
    Repeatable,
    // Actions that change something at the vendor (REQUEST, CHANGEPASSWORD, UPDATECONTACTINFO,
    // UPDATELOSVERSION): at most once per call; a dropped connection is a transport failure.
    AtMostOnce
};

// What one request ended with: the answer text (decoded by the charset the server named), or
// the transport's failure; body holds the raw answer for downloads.
struct PostResult {
    QString text;
    QByteArray body;
    std::optional<AppError> failure;
};

// How a request goes: its method, how often it may reach the server, the largest answer.
struct PostOptions {
    QString method = QStringLiteral("POST");
    Delivery delivery = Delivery::Repeatable;
    qint64 answerLimit = HttpPolicy::TextAnswerLimit;
    // A read sent ahead for the same address may be taken instead (reads only).
    bool takeSentAhead = true;
};

// Sends address without waiting. done is called once, from the event loop, with the result,
// unless context is destroyed first: the request is then given up and nothing is called. A
// read sent ahead for the same address (Prefetch) is taken instead of sending it again (never
// for Delivery::AtMostOnce). An address that is not a web address fails the same way, later.
void Post(const QString& address, const PostOptions& options, QObject* context,
          std::function<void(const PostResult&)> done);

// The number of requests Post has started that have not reported yet (tests and the busy
// state of the windows).
int PostsRunning();

// A transport failure as it may be logged, shown or answered: its description with every password
// masked (MaskPasswords). The transport masks no more than the password of an address's user
// name, and the addresses it names carry the credential fields in clear.
AppError WithMaskedPasswords(AppError failure);
