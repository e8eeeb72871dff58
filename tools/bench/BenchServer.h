#pragma once

#include "service/ServiceOutcome.h"

#include <QProcess>
#include <QString>
#include <QStringList>

// The stand-in vendor server for the benchmarks: started on a free loopback port, driven
// through its control endpoints.
#include <functional>

class QObject;

namespace BenchServer {

// Starts an operation and waits for its outcome.
ServiceOutcome Await(const std::function<void(QObject* context, ServiceReply done)>& start);

// $QUILL_VENDOR_SIM, else quill-vendor-sim next to the running program.
QString Program();
// Starts the server with the seed (empty: its demo seed); returns its base address, empty on failure.
QString Start(QProcess& server, const QString& seedFile = QString());
// Fixed delay before every answer. Throws AppError when the control request fails.
void SetLatency(const QString& baseUrl, int ms);
// Protocol knobs, as "name=value&..." (statusPolls, pdfPolls, latestVersion, downloadPath).
void Configure(const QString& baseUrl, const QString& settings);
// The request lines the server received, in order; clears the log when clear is set.
QStringList Requests(const QString& baseUrl);
void ClearRequests(const QString& baseUrl);

} // namespace BenchServer
