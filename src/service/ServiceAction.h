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
// address, post it, put the answer text into the caller's answer variable and let the
// operation interpret it. An answer that begins with "<" (after white space) is no protocol
// answer and fails with ErrNo::NotProtocol before it is interpreted (unless anyAnswer). Any
// failure ends in the result false, or, handled by the caller, in an AppError:
//  - 6000 (already reported or silent): false and nothing more, also for the caller (a block
//    that does not convert leaves the conversion's text, already shown and logged, as answer);
//  - handled by the caller: any other failure is raised unchanged, nothing shown or logged
//    here (a failed interpretation leaves the server's answer as answer);
//  - unreachable server, connection-aware: the box, then as below (the credential check's
//    answer then reads "Invalid Internet Connection");
//  - anything else, transport failures included: the answer becomes the error text (the block
//    as its information) and that text goes to errors.log.
class ServiceAction
{
public:
    // interpret may read and change the answer, set settings and raise AppError.
    using Interpret = std::function<void(QString& answer)>;

    ServiceAction(QString operation, QString action, AddressForm form = AddressForm::Account,
                  FailureHandling failures = FailureHandling::Plain);

    // Connection-aware: the first sentence of the unreachable-server box.
    ServiceAction& unreachableText(const QString& text);
    // The answer variable carries the progress of the request while it runs; a failure's
    // error text follows that progress, and an unreachable server leaves
    // "Invalid Internet Connection".
    ServiceAction& traceProgress();
    // The error text's information is "In:" + block + CR LF + "Out:" + answer.
    ServiceAction& inOutInfo();
    // The action changes something at the vendor: it reaches the server at most once per run()
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

    bool run(const QString& block, QString& answer, const Interpret& interpret = {}) const;

    // The same steps without waiting: the request is sent and done hears the outcome once, from
    // the event loop, unless context is destroyed first. Failures are shown and logged as run()
    // does; the outcome's errorText is the answer run() would have left.
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
    bool run(const QString& block, QString& answer) const { return action.run(block, answer, interpret); }
};
