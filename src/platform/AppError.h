#pragma once

#include <QString>
#include <exception>

// The error object that routines raise internally and turn into their promised result
// (a Boolean plus an answer text, a message box, a log line) in their own handler.
struct AppError : std::exception {
    AppError(long number, QString description, QString source = QString())
        : Number(number), Description(std::move(description)), Source(std::move(source))
    {
    }

    const char* what() const noexcept override { return "AppError"; }

    long Number;
    QString Description;
    QString Source;
};

namespace ErrNo {
// Already reported, or meant to stay silent: never shown or logged again.
constexpr long Silent = 6000;
// The server refused: the answer began with "FAILED".
constexpr long Refused = 6001;
// The server could not be reached (INET_E_RESOURCE_NOT_FOUND).
constexpr long Unreachable = -2146697211;
// Transport failures other than an unreachable server.
constexpr long Timeout = -2147012894;    // 0x80072EE2
constexpr long TlsFailure = -2147012721; // 0x80072F8F
constexpr long HttpStatus = -2147012866; // 0x80072EFE
constexpr long Transport = -2147467259;  // 0x80004005
// The proxy between this computer and the server failed before it passed the request on: down,
// not found, or it asked for a password (ERROR_INTERNET_PROXY_SERVER_UNREACHABLE). Not ErrNo::Unreachable, whose box
// tells the user to check the internet connection.
constexpr long ProxyFailure = -2147012731; // 0x80072F85
// Classic "Invalid procedure call": an answer that cannot be what the action promises.
constexpr long BadAnswer = 5;
// An answer that is not in the protocol (it begins with "<": an HTML page, a proxy's error page).
constexpr long NotProtocol = -2146697208; // 0x800C0008
// A cancelled printer dialog.
constexpr long PrintCancelled = 32755;
// File in use by another process ("Permission denied").
constexpr long FileLocked = 70;
// Platform file operations, by what went wrong (the Windows codes as HRESULTs).
constexpr long FileNotFound = -2147024894; // 0x80070002
constexpr long PathNotFound = -2147024893; // 0x80070003
constexpr long AccessDenied = -2147024891; // 0x80070005
constexpr long DiskFull = -2147024784;     // 0x80070070
// Any other failure of a file operation (ERROR_GEN_FAILURE).
constexpr long FileFailure = -2147024865; // 0x8007001F
// The number file failures of the host and report code carry (the code of "file not found").
constexpr long FileIo = FileNotFound;
}
