#pragma once

#include "Answer.h"

#include <QString>
#include <QStringList>

#include <functional>

class AnswerScript;
class FormQuery;
struct SimRequest;
class VendorState;

// The test-control endpoints under /__sim/ (listed in README.md): script answers, add latency,
// read and clear the request log, change the protocol knobs, look at the reports, reset.
class SimControl
{
public:
    struct Context {
        VendorState& state;
        AnswerScript& script;
        QStringList& requestLog;
        int& latencyMs;
        std::function<QString()> reloadSeed; // returns an error text, empty on success
    };

    explicit SimControl(const Context& context) : m_c(context) {}

    static bool isControlPath(const QString& path);
    Answer handle(const SimRequest& request);

private:
    Answer script(const FormQuery& q, const QByteArray& body);
    Answer drop(const FormQuery& q);
    Answer latency(const FormQuery& q);
    Answer requests();
    Answer clearRequests();
    Answer config(const FormQuery& q);
    Answer reports();
    Answer reset();

    static bool readInt(const FormQuery& q, const QString& name, int& out, int minimum);

    Context m_c;
};
