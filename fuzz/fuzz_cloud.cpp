// SPDX-License-Identifier: LGPL-2.1-or-later
// Cloud answers into the registration handlers (lookup, model, creation)
// and texts into the remote-channel slot. A loopback HTTP server in this
// process serves the fuzz bytes, so each answer takes the real reply path.
#include "plugin/VXKTR450PROCam.h"
#include "cloud/NimbraCloud.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// One answer per request, in order; past the last, the last repeats.
QList<QByteArray> g_answers;
int g_served = 0;
QTcpServer *g_server = nullptr;
VXKTR450PROCam *g_root = nullptr;

const int Statuses[] = {200, 404, 500, 0, 201, 302, 401, 204};

QByteArray httpAnswer(const QByteArray &segment, bool &close)
{
    close = false;
    if (segment.startsWith("HTTP/"))
        return segment;   // the whole response as raw bytes
    const int status = segment.isEmpty() ? 200 : Statuses[uchar(segment.at(0)) % 8];
    if (status == 0) {
        close = true;     // hang up without a word: "unreachable"
        return QByteArray();
    }
    const QByteArray body = segment.mid(1);
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: application/json\r\n"
           "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

void serve(QTcpSocket *socket)
{
    auto buffer = std::make_shared<QByteArray>();
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, buffer] {
        *buffer += socket->readAll();
        const int end = buffer->indexOf("\r\n\r\n");
        if (end < 0)
            return;
        int length = 0;
        for (const QByteArray &line : buffer->left(end).split('\n')) {
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toInt();
        }
        if (buffer->size() < end + 4 + length)
            return;
        buffer->clear();
        const QByteArray segment = g_answers.isEmpty()
            ? QByteArray() : g_answers.at(qMin(g_served, g_answers.size() - 1));
        ++g_served;
        bool close = false;
        socket->write(httpAnswer(segment, close));
        socket->disconnectFromHost();
    });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    g_server = new QTcpServer;
    if (!g_server->listen(QHostAddress::LocalHost, 0))
        abort();
    QObject::connect(g_server, &QTcpServer::newConnection, [] {
        while (QTcpSocket *s = g_server->nextPendingConnection())
            serve(s);
    });
    g_root = new VXKTR450PROCam;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), int(size));
    g_answers = input.split('\x1e');   // record separator between answers
    g_served = 0;

    const QString base = QStringLiteral("127.0.0.1:%1/").arg(g_server->serverPort());
    NimbraCloud cloud(QUrl(QStringLiteral("http://") + base), QStringLiteral("ws://") + base);
    cloud.setTimeout(2000);
    auto *nam = cloud.findChild<QNetworkAccessManager *>();

    std::unique_ptr<VXDeviceInterface> device(g_root->initInstance());
    auto *common = static_cast<VXCommonInterface *>(device.get());
    common->setLookupRetryInterval(3600 * 1000);   // stays pending: deleted below
    const QString code = g_answers.size() > 3 ? QString::fromUtf8(g_answers.at(3)) : QStringLiteral("VXK4501234");
    common->setNimbraCloud(&cloud, code);

    // Lookup -> update or creation chains; wait until no reply is left.
    // Blocking waits (a time-limited processEvents never sleeps); the tick
    // bounds each one, the client's timeout bounds the whole.
    QTimer tick;
    tick.start(10);
    QElapsedTimer clock;
    clock.start();
    while (nam && !nam->findChildren<QNetworkReply *>().isEmpty() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    for (const QByteArray &segment : g_answers)
        common->slot_websocket_text_received(QString::fromUtf8(segment));
    common->stopTask();
    return 0;
}
