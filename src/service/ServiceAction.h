#pragma once

#include "service/ServiceOutcome.h"

#include <QString>

#include <functional>

class QObject;
struct PostResult;

struct AppError;

// Which of the three address forms an action is sent with.
enum class AddressForm { Account, CredentialedAccount, Report };

// How an action's failures end: Plain for most actions; ConnectionAware also shows the
// "Invalid Internet Connection Found" box when the server is unreachable, and logs that failure
// like any other; ToCaller raises them to the caller, which shows and logs them in its own words.
enum class FailureHandling { Plain, ConnectionAware, ToCaller };

// The common steps of a server operation: convert the parameter block to fields, build the
// address, post it without waiting, and let the operation interpret the answer. An answer that
// begins with "<" (after white space) is no protocol answer and fails with ErrNo::NotProtocol
// before it is interpreted (unless anyAnswer). How a failure ends (the outcome's kind and
// errorText, see ServiceOutcome):
//  - 6000 (already reported or silent): silent, nothing more (a block that does not convert
//    leaves the conversion's text, already shown and logged);
//  - handled by the caller (ToCaller): the failure as it is, nothing shown or logged here;
//  - unreachable server, connection-aware: the box, then as below (the credential check's
//    error text then reads "Invalid Internet Connection");
//  - anything else, transport failures included: the error text (the block as its
//    information) goes to errors.log.
class ServiceAction
{
public:
    // interpret may read and change the answer, set settings and raise AppError.
    using Interpret = std::function<void(QString& answer)>;

    ServiceAction(QString operation, QString action, AddressForm form = AddressForm::Account,
                  FailureHandling failures = FailureHandling::Plain);

    // Connection-aware: the first sentence of the unreachable-server box.
    ServiceAction& unreachableText(const QString& text);
    // A failure's error text follows the last step of the request reached, and an unreachable server leaves
    // "Invalid Internet Connection".
    ServiceAction& traceProgress();
    // The error text's information is "In:" + block + CR LF + "Out:" + answer.
    ServiceAction& inOutInfo();
    // The action changes something at the vendor: it reaches the server at most once per start()
    // (see Delivery::AtMostOnce).
    ServiceAction& atMostOnce();
    // The answer is handed on whatever it begins with: the operation or its caller tells a page
    // from an answer itself.
    ServiceAction& anyAnswer();
    // Fields that come before the block's fields in every address of this action, already
    // encoded ("&name=value...").
    ServiceAction& leadingFields(const QString& fields);

    // Fields that follow the block's fields in every address of this action, already encoded
    // ("&name=value...").
    ServiceAction& trailingFields(const QString& fields);

    // Sends the request; done hears the outcome once, from the event loop, unless context is
    // destroyed first. Failures are shown and logged as described above; the outcome's errorText
    // is the answer they leave.
    void start(const QString& block, QObject* context, Interpret interpret, ServiceReply done) const;

    // The address of this action for the block's field string (between the leading and the
    // trailing fields), from the current settings.
    QString address(const QString& fields) const;

private:
    ServiceOutcome conclude(const QString& block, const PostResult& posted, const Interpret& interpret) const;
    bool handle(const AppError& error, const QString& block, QString& answer) const;

    QString m_operation;
    QString m_action;
    AddressForm m_form;
    FailureHandling m_failures;
    QString m_unreachableText;
    bool m_traceProgress = false;
    bool m_inOutInfo = false;
    bool m_atMostOnce = false;
    bool m_anyAnswer = false;
    QString m_leadingFields;
    QString m_trailingFields;
};

// A server operation as one value: its action and the reading of its answer, started by the
// windows and the other operations.
struct ServiceOperation {
    ServiceAction action;
    ServiceAction::Interpret interpret = {};

    void start(const QString& block, QObject* context, ServiceReply done) const
    {
        action.start(block, context, interpret, std::move(done));
    }
};
