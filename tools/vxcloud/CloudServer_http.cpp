// SPDX-License-Identifier: LGPL-2.1-or-later
// The HTTP resources and the ways their answers go wrong.
#include "CloudServer.h"
#include "JsonDepth.h"

#include <QJsonDocument>
#include <QMutexLocker>

#include <civetweb.h>
#include <zlib.h>

#include <chrono>
#include <thread>

namespace {
QByteArray toJson(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray error(const QString &text)
{
    return toJson(QJsonObject{{QStringLiteral("error"), text}});
}

// Streams a gzip member that inflates to `answer` followed by blanks up to
// `total` bytes, handing each compressed piece to `send`.
bool gzipPadded(const QByteArray &answer, qint64 total, const std::function<bool(const char *, int)> &send)
{
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    const QByteArray blanks(64 * 1024, ' ');
    QByteArray out(64 * 1024, Qt::Uninitialized);   // worker stacks are small
    qint64 fed = 0;
    bool ok = true;
    for (int flush = Z_NO_FLUSH; ok && flush != Z_FINISH;) {
        const QByteArray &piece = fed == 0 ? answer : blanks;
        const qint64 take = qMin<qint64>(piece.size(), total - fed);
        fed += take;
        flush = fed >= total ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(piece.constData()));
        z.avail_in = uInt(take);
        do {
            z.next_out = reinterpret_cast<Bytef *>(out.data());
            z.avail_out = uInt(out.size());
            deflate(&z, flush);
            const int n = out.size() - int(z.avail_out);
            if (n > 0 && !send(out.constData(), n))
                ok = false;
        } while (ok && z.avail_out == 0);
    }
    deflateEnd(&z);
    return ok;
}
}

// Under m_mutex. False, storing nothing, when the table is full.
bool CloudServer::storeDevice(int id, const QJsonObject &record)
{
    const qint64 size = toJson(record).size();
    const qint64 old = m_devices.contains(id) ? toJson(m_devices.value(id)).size() : 0;
    const bool grows = !m_devices.contains(id);
    if ((grows && m_devices.size() >= m_limits.tableEntries)
        || m_deviceBytes - old + size > m_limits.tableBytes)
        return false;
    m_devices.insert(id, record);
    m_deviceBytes += size - old;
    return true;
}


int CloudServer::onHttp(mg_connection *conn, void *self)
{
    return static_cast<CloudServer *>(self)->handleHttp(conn);
}

int CloudServer::handleHttp(mg_connection *conn)
{
    const mg_request_info *info = mg_get_request_info(conn);
    Request request;
    request.verb = info->request_method;
    request.path = QString::fromUtf8(info->local_uri ? info->local_uri : "");
    while (request.path.startsWith(QLatin1Char('/')))
        request.path.remove(0, 1);
    while (request.path.endsWith(QLatin1Char('/')))
        request.path.chop(1);
    if (const char *auth = mg_get_header(conn, "Authorization"))
        request.authorization = auth;

    Answer reply;
    FaultSetting fault;
    if (info->content_length > MaxRequestBytes) {
        reply = Answer{413, error(QStringLiteral("request too large"))};
    } else {
        // A chunked body has no length up front: stop at the bound.
        request.body.resize(int(qBound<qint64>(0, info->content_length, MaxRequestBytes)) + 1);
        int size = 0, n;
        while (size <= MaxRequestBytes) {
            if (size == request.body.size())
                request.body.resize(qMin(size * 2 + 16384, MaxRequestBytes + 1));
            if ((n = mg_read(conn, request.body.data() + size, size_t(request.body.size() - size))) <= 0)
                break;
            size += n;
        }
        request.body.truncate(size);
        if (request.body.size() > MaxRequestBytes) {
            reply = Answer{413, error(QStringLiteral("request too large"))};
            request.body.truncate(MaxRequestBytes);
        }
        {
            QMutexLocker lock(&m_mutex);
            m_requests.append(request, request.body.size() + request.path.size() + 64);
        }
        log(QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(request.verb), request.path,
                                            QString::fromUtf8(request.body.left(400))));

        for (int waited = 0; waited < m_delayMs && !m_stopping; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));

        QUrl redirect;
        {
            QMutexLocker lock(&m_mutex);
            fault = m_faults.value(request.path, m_faults.value(QString()));
            redirect = m_redirectBase;
        }
        switch (reply.status == 413 ? Fault::None : fault.fault) {
        case Fault::Status:
            reply = Answer{fault.status, error(QStringLiteral("injected failure"))};
            break;
        case Fault::Html:
            reply = Answer{200, "<!DOCTYPE html><html><body><h1>Maintenance</h1></body></html>", "text/html"};
            break;
        case Fault::Empty:
            reply = Answer{200, QByteArray()};
            break;
        case Fault::Redirect: {
            const QByteArray location = redirect.resolved(QUrl(request.path)).toEncoded();
            mg_printf(conn, "HTTP/1.1 %d Moved\r\nLocation: %s\r\nContent-Length: 0\r\nConnection: close\r\n\r\n",
                      fault.status, location.constData());
            return fault.status;
        }
        case Fault::None:
        case Fault::Oversized:
        case Fault::Chunked:
        case Fault::Gzip: {
            if (reply.status == 413)
                break;
            QJsonParseError parseError{};
            const QJsonDocument doc = JsonDepth::within(request.body)
                                          ? QJsonDocument::fromJson(request.body, &parseError) : QJsonDocument();
            if (!request.body.isEmpty() && !doc.isObject())
                reply = Answer{400, error(QStringLiteral("body is not a JSON object"))};
            else
                reply = answer(request.verb, request.path, doc.object(), request.body.size());
            if (fault.fault == Fault::Oversized && reply.body.size() < OversizedBytes)
                reply.body.append(QByteArray(OversizedBytes - reply.body.size(), ' '));
            if (fault.fault == Fault::Chunked || fault.fault == Fault::Gzip) {
                sendStreamed(conn, reply, fault.fault);
                return reply.status;
            }
            break;
        }
        }
    }

    const char *reason = mg_get_response_code_text(conn, reply.status);
    mg_printf(conn,
              "HTTP/1.1 %d %s\r\nContent-Type: %s\r\nContent-Length: %d\r\nConnection: close\r\n\r\n",
              reply.status, reason ? reason : "", reply.type.constData(), int(reply.body.size()));
    if (!reply.body.isEmpty())
        mg_write(conn, reply.body.constData(), size_t(reply.body.size()));
    return reply.status;
}

// The answer padded with blanks to HugeBytes and streamed, chunked or as
// gzip, until done or until the client hangs up.
void CloudServer::sendStreamed(mg_connection *conn, const Answer &reply, Fault fault)
{
    mg_printf(conn, "HTTP/1.1 %d OK\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n%s"
                    "Connection: close\r\n\r\n",
              reply.status, fault == Fault::Gzip ? "Content-Encoding: gzip\r\n" : "");
    auto send = [conn](const char *data, int n) { return mg_send_chunk(conn, data, unsigned(n)) > 0; };
    bool ok;
    if (fault == Fault::Gzip) {
        ok = gzipPadded(reply.body, HugeBytes, send);
    } else {
        ok = send(reply.body.constData(), reply.body.size());
        const QByteArray blanks(64 * 1024, ' ');
        for (qint64 sent = reply.body.size(); ok && sent < HugeBytes; sent += blanks.size())
            ok = send(blanks.constData(), int(qMin<qint64>(blanks.size(), HugeBytes - sent)));
    }
    if (ok)
        mg_send_chunk(conn, "", 0);
}

CloudServer::Answer CloudServer::answer(const QByteArray &verb, const QString &path,
                                        const QJsonObject &body, qint64 bodyBytes)
{
    QMutexLocker lock(&m_mutex);
    auto freshDeviceId = [this] {
        while (m_devices.contains(m_nextDeviceId))
            ++m_nextDeviceId;
        return m_nextDeviceId++;
    };
    const Answer full{507, error(QStringLiteral("storage full"))};

    if (path == QLatin1String("device")) {
        if (verb == "GET") {
            const QString code = body.value(QStringLiteral("code")).toString();
            if (!m_deviceIds.contains(code))
                return Answer{404, error(QStringLiteral("unknown device"))};
            const int id = m_deviceIds.value(code);
            QJsonObject record = m_devices.value(id);
            record[QStringLiteral("id")] = id;
            return Answer{200, toJson(record)};
        }
        if (verb == "PUT") {
            const int id = body.value(QStringLiteral("id")).toInt(-1);
            if (!m_devices.contains(id))
                return Answer{404, error(QStringLiteral("unknown device"))};
            const QString code = body.value(QStringLiteral("code")).toString();
            if ((!m_deviceIds.contains(code) && m_deviceIds.size() >= m_limits.tableEntries) || !storeDevice(id, body))
                return full;
            m_deviceIds.insert(code, id);
            return Answer{200, toJson(QJsonObject{{QStringLiteral("id"), id}})};
        }
        return Answer{405, error(QStringLiteral("method not allowed"))};
    }
    if (path == QLatin1String("device_model")) {
        if (verb == "PATCH") {
            const QJsonValue code = body.value(QStringLiteral("code"));
            if (!code.isDouble())
                return Answer{400, error(QStringLiteral("model code must be a number"))};
            const int number = code.toInt();
            if (!m_models.contains(number)) {
                if (m_models.size() >= m_limits.tableEntries)
                    return full;
                int id = m_nextModelId;
                for (int used : qAsConst(m_models))
                    id = qMax(id, used + 1);
                m_models.insert(number, id);
                m_nextModelId = id + 1;
            }
            return Answer{200, toJson(QJsonObject{{QStringLiteral("id"), m_models.value(number)}})};
        }
        if (verb == "POST") {
            // Device creation lives here, next to the model lookup.
            const QString code = body.value(QStringLiteral("code")).toString();
            if (code.isEmpty())
                return Answer{400, error(QStringLiteral("device code missing"))};
            const bool known = m_deviceIds.contains(code);
            if (!known && m_deviceIds.size() >= m_limits.tableEntries)
                return full;
            const int id = known ? m_deviceIds.value(code) : freshDeviceId();
            QJsonObject record = body;
            record[QStringLiteral("id")] = id;
            if (!storeDevice(id, record))
                return full;
            m_deviceIds.insert(code, id);
            return Answer{200, toJson(QJsonObject{{QStringLiteral("id"), id}})};
        }
        return Answer{405, error(QStringLiteral("method not allowed"))};
    }
    if (path == QLatin1String("device_work_records")) {
        if (verb != "POST")
            return Answer{405, error(QStringLiteral("method not allowed"))};
        m_workRecords.append(body, bodyBytes);
        return Answer{200, toJson(QJsonObject{{QStringLiteral("id"), ++m_workRecordCount}})};
    }
    return Answer{404, error(QStringLiteral("no such resource"))};
}

