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

#include <atomic>
#include <functional>

struct mg_context;
struct mg_connection;

// Local stand-in for the cloud service: the resources "device",
// "device_model" and "device_work_records" over HTTP, and the remote channel
// "<code>/Device/" over WebSocket, on 127.0.0.1 only. It serves from its own
// threads, so it answers like a remote server while the caller's thread is
// busy. Everything it received stays readable from any thread.
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
    // padded with blanks to OversizedBytes (still valid JSON).
    enum class Fault { None, Status, Html, Empty, Oversized };
    static constexpr int OversizedBytes = 8 * 1024 * 1024;
    static constexpr int MaxRequestBytes = 1024 * 1024;

    CloudServer();
    ~CloudServer();
    CloudServer(const CloudServer &) = delete;
    CloudServer &operator=(const CloudServer &) = delete;

    // Port 0 takes a free port; wsPort < 0 serves the channel on the HTTP
    // port. To come back after stop(), start again with httpPort()/wsPort().
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

    // Called from the server's threads for each event, one line each.
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
    struct Channel {
        QString code;
        QByteArray partial;  // text frames not finished yet
        bool partialText = false;
    };

    static int onHttp(mg_connection *conn, void *self);
    static int onWsConnect(const mg_connection *conn, void *self);
    static void onWsReady(mg_connection *conn, void *self);
    static int onWsData(mg_connection *conn, int bits, char *data, size_t len, void *self);
    static void onWsClose(const mg_connection *conn, void *self);

    int handleHttp(mg_connection *conn);
    Answer answer(const QByteArray &verb, const QString &path, const QJsonObject &body);
    void log(const QString &line);
    mg_connection *channelOf(const QString &code) const;

    mg_context *m_ctx = nullptr;
    quint16 m_httpPort = 0;
    quint16 m_wsPort = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_delayMs{0};

    mutable QMutex m_mutex;            // state, faults, logs
    QMap<QString, int> m_deviceIds;    // code -> id
    QMap<int, QJsonObject> m_devices;
    QMap<int, int> m_models;
    int m_nextDeviceId = 1;
    int m_nextModelId = 1;
    QMap<QString, FaultSetting> m_faults;
    QList<Request> m_requests;
    QList<QJsonObject> m_workRecords;
    QList<ChannelText> m_channelTexts;
    std::function<void(const QString &)> m_logger;

    mutable QMutex m_channelMutex;     // open channels; held while writing to one
    QMap<const mg_connection *, Channel> m_channels;
};
