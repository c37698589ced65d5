// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "BoundedLog.h"

#include <atomic>
#include <functional>
#include <memory>

struct mg_context;
struct mg_connection;
class ChannelHub;

// Local stand-in for the cloud service: the resources "device",
// "device_model" and "device_work_records" over HTTP, and the remote channel
// "<code>/Device/" over WebSocket on a port of its own (ChannelHub), on
// 127.0.0.1 only. It serves from its own threads, so it answers like a
// remote server while the caller's thread is busy. What it received stays readable from any thread, within the bounds
// of Limits: a flood of requests or texts costs bounded memory, full tables
// answer 507, and a cap on open channels keeps workers free for HTTP.
class CloudServer
{
public:
    struct Request {
        QByteArray verb;
        QString path;        // resource, without the leading '/'
        QByteArray body;
        QByteArray authorization;   // the Authorization header as sent
        QJsonObject json() const;
    };
    struct ChannelText {
        QString code;        // device code of the channel
        QString text;
    };
    // How answers go wrong. Status: the given status with a JSON error body;
    // Html and Empty: status 200 with that body; Oversized: the normal answer
    // padded with blanks to OversizedBytes (still valid JSON); Chunked: the
    // same padded to HugeBytes, sent chunked with no length; Gzip: that one
    // gzip-compressed (a few hundred KiB on the wire) although the client
    // asked for none; Redirect: the given status (a 3xx) pointing at the
    // same path under setRedirectBase().
    enum class Fault { None, Status, Html, Empty, Oversized, Chunked, Gzip, Redirect };
    static constexpr int OversizedBytes = 8 * 1024 * 1024;
    static constexpr qint64 HugeBytes = 64 * 1024 * 1024;
    static constexpr int MaxRequestBytes = 1024 * 1024;

    struct Limits {
        int logEntries = 1000;              // each of requests, work records, texts
        qint64 logBytes = 16 * 1024 * 1024; // each log's payload
        int tableEntries = 10000;           // devices, and models
        qint64 tableBytes = 16 * 1024 * 1024;   // stored device records
        int channels = 64;                  // open remote channels
        int httpWorkers = 16;               // HTTP threads; channels hold none
    };

    CloudServer();
    ~CloudServer();
    CloudServer(const CloudServer &) = delete;
    CloudServer &operator=(const CloudServer &) = delete;

    // Before start().
    void setLimits(const Limits &limits);
    Limits limits() const;

    // Port 0 takes a free port; so does wsPort < 0 (the channel never shares
    // the HTTP port). To come back after stop(), start again with
    // httpPort()/wsPort().
    bool start(quint16 httpPort = 0, int wsPort = -1);
    // Unreachable from now on: open channels drop, requests are refused.
    void stop();
    bool isRunning() const { return m_ctx != nullptr; }
    quint16 httpPort() const { return m_httpPort; }
    quint16 wsPort() const { return m_wsPort; }
    QUrl httpBase() const;   // http://127.0.0.1:PORT/
    QString ws() const;      // ws://127.0.0.1:PORT/

    // Back to a fresh service (state, faults, delay, logs); channels stay.
    // Cheaper than a restart, which waits for the server's threads.
    void reset();

    // Service state.
    void addDevice(const QString &code, int id);
    void addModel(int number, int id);
    void setNextDeviceId(int id);
    QMap<int, QJsonObject> devices() const;   // id -> last record received
    QMap<int, int> models() const;            // model number -> id

    // Faults; resource "" applies to every resource without its own.
    void setFault(const QString &resource, Fault fault, int status = 500);
    void clearFaults();
    void setDelay(int ms);                    // before every HTTP answer
    void setRedirectBase(const QUrl &base);   // where Fault::Redirect points

    // Remote channel.
    bool push(const QString &code, const QString &text);
    bool closeChannel(const QString &code);
    QStringList channels() const;             // codes with an open channel

    // What arrived.
    QList<Request> requests() const;
    int count(const QByteArray &verb, const QString &path) const;
    QList<QJsonObject> workRecords() const;
    QList<ChannelText> channelTexts() const;
    void clearLog();

    // Called from the server's threads for each event, one line each, with
    // control characters escaped: clients choose what ends up in it.
    void setLogger(std::function<void(const QString &)> logger);

private:
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray type = "application/json";
    };
    struct FaultSetting {
        Fault fault = Fault::None;
        int status = 500;
    };
    static int onHttp(mg_connection *conn, void *self);

    int handleHttp(mg_connection *conn);
    Answer answer(const QByteArray &verb, const QString &path, const QJsonObject &body, qint64 bodyBytes);
    bool storeDevice(int id, const QJsonObject &record);
    void sendStreamed(mg_connection *conn, const Answer &reply, Fault fault);
    void log(const QString &line);
    void channelText(const QString &code, const QString &text);

    mg_context *m_ctx = nullptr;
    quint16 m_httpPort = 0;
    quint16 m_wsPort = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_delayMs{0};

    mutable QMutex m_mutex;            // state, faults, logs, limits
    Limits m_limits;
    QMap<QString, int> m_deviceIds;    // code -> id
    QMap<int, QJsonObject> m_devices;
    qint64 m_deviceBytes = 0;
    QMap<int, int> m_models;
    int m_nextDeviceId = 1;
    int m_nextModelId = 1;
    int m_workRecordCount = 0;
    QMap<QString, FaultSetting> m_faults;
    QUrl m_redirectBase;
    BoundedLog<Request> m_requests{1000, 16 * 1024 * 1024};
    BoundedLog<QJsonObject> m_workRecords{1000, 16 * 1024 * 1024};
    BoundedLog<ChannelText> m_channelTexts{1000, 16 * 1024 * 1024};
    std::function<void(const QString &)> m_logger;

    std::unique_ptr<ChannelHub> m_hub;
};
