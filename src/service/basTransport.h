#pragma once

#include <QString>

struct AppError;
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

// Sends address with HTTP POST and no body; returns the answer text. Raises the request's
// AppError on a transport failure, its passwords masked (WithMaskedPasswords). progress, when
// given, receives the trace texts of each step. When a read for the same address was sent
// ahead (Prefetch), its outcome is taken instead (never for Delivery::AtMostOnce, which always
// sends).
QString PostAddress(const QString& address, QString* progress = nullptr, Delivery delivery = Delivery::Repeatable);

// A transport failure as it may be logged, shown or answered: its description with every password
// masked (MaskPasswords). The transport masks no more than the password of an address's user
// name, and the addresses it names carry the credential fields in clear.
AppError WithMaskedPasswords(AppError failure);
