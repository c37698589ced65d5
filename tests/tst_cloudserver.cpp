// SPDX-License-Identifier: LGPL-2.1-or-later
// The cloud stand-in held to a service's bounds: memory under a flood,
// workers under idle channels, full tables, and what reaches its console.
#include "CloudServer.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QScopeGuard>
#include <QWebSocket>
#include <QtTest>

#include "MemoryProbe.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/time.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {
// A bare blocking socket to 127.0.0.1:port that has sent `request` whole
// and read the first answer into *answer; no library reads on its behalf
// afterwards. -1 when it cannot connect.
int rawRequest(quint16 port, const QByteArray &request, QByteArray *answer)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    // A stand-in that stops reading or answering ends the call, not the test.
    const timeval patience{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    qint64 sent = 0;
    for (ssize_t n = 0; sent < request.size(); sent += n) {
        if ((n = ::send(fd, request.constData() + sent, size_t(request.size() - sent), MSG_NOSIGNAL)) <= 0)
            break;
    }
    char buffer[512];
    const ssize_t n = sent == request.size() ? ::read(fd, buffer, sizeof buffer) : -1;
    *answer = QByteArray(buffer, int(qMax<ssize_t>(n, 0)));
    return fd;
}

// Asks for channel `code`.
int rawChannel(quint16 port, const QByteArray &code, QByteArray *answer)
{
    return rawRequest(port, "GET /" + code + "/Device/ HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                      "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n",
                      answer);
}

// Sends a request; returns its status once answered (0: no answer).
int statusOf(QNetworkAccessManager &nam, const QUrl &url, const QByteArray &verb, const QByteArray &body)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    std::unique_ptr<QNetworkReply> reply(nam.sendCustomRequest(request, verb, body));
    QSignalSpy done(reply.get(), &QNetworkReply::finished);
    done.wait(10000);
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}
}

class TestCloudServer : public QObject
{
    Q_OBJECT
private slots:
    void floodLeavesMemoryBounded();
    void idleChannelsLeaveHttpServed();
    void stalledChannelDoesNotStallOthers();
    void oversizedFrameRefusedUnheld();
    void tablesFullAnswer507();
    void deepJsonRefused();
    void consoleLinesEscaped();
};

void TestCloudServer::floodLeavesMemoryBounded()
{
    if (Sanitized)
        QSKIP("resident memory says nothing under AddressSanitizer");
    QProcess server;
    server.start(QStringLiteral(VX_BIN_DIR "/vxcloud"), QStringList());
    QVERIFY(server.waitForStarted());
    QUrl base;
    while (base.isEmpty() && server.waitForReadyRead(10000)) {
        while (server.canReadLine()) {
            const QByteArray line = server.readLine().trimmed();
            if (line.startsWith("http "))
                base = QUrl(QString::fromLatin1(line.mid(5)));
        }
    }
    QVERIFY(base.isValid());
    // Keep its console flowing: it prints a line per request.
    connect(&server, &QProcess::readyReadStandardOutput, &server, [&server] { server.readAllStandardOutput(); });
    const qint64 idle = rssBytes(server.processId());

    // 1,000 work records of 1 MiB each, eight at a time, from bare sockets:
    // through QNetworkAccessManager each took some 100 ms, the flood 100 s.
    const int total = 1000;
    QByteArray body = "{\"pad\":\"";
    body += QByteArray(CloudServer::MaxRequestBytes - body.size() - 2, 'x');
    body += "\"}";
    const QByteArray request = "POST /device_work_records HTTP/1.1\r\nHost: 127.0.0.1\r\n"
        "Content-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    std::atomic<int> taken{0}, answered{0}, accepted{0};
    std::atomic<qint64> half{0};
    const qint64 pid = server.processId();
    std::vector<std::thread> posters;
    // However the test ends, the posters take no more and are waited for.
    const auto joined = qScopeGuard([&] {
        taken = total;
        for (std::thread &poster : posters) {
            if (poster.joinable())
                poster.join();
        }
    });
    for (int i = 0; i < 8; ++i) {
        posters.emplace_back([&, port = quint16(base.port())] {
            while (taken++ < total) {
                QByteArray answer;
                const int fd = rawRequest(port, request, &answer);
                if (fd >= 0)
                    ::close(fd);
                accepted += answer.startsWith("HTTP/1.1 200");
                if (++answered == total / 2)
                    half = rssBytes(pid);
            }
        });
    }
    // The server's console is read from this thread's event loop.
    QTRY_COMPARE_WITH_TIMEOUT(answered.load(), total, 240000);
    for (std::thread &poster : posters)
        poster.join();
    QCOMPARE(accepted.load(), total);
    const qint64 flooded = rssBytes(pid);
    qInfo("vxcloud resident: %lld KiB idle, %lld KiB after 500, %lld KiB after 1000 requests of 1 MiB",
          idle / 1024, half.load() / 1024, flooded / 1024);
    // Kept whole, the second 500 alone would add 500 MiB.
    QVERIFY2(flooded - half < 32 * 1024 * 1024, qPrintable(QString::number(flooded - half)));
    QVERIFY2(flooded - idle < 256 * 1024 * 1024, qPrintable(QString::number(flooded - idle)));
    server.kill();
    server.waitForFinished();
}

void TestCloudServer::idleChannelsLeaveHttpServed()
{
    CloudServer server;
    QVERIFY(server.start());
    const int cap = server.limits().channels;
    QCOMPARE(cap, 64);
    std::vector<std::unique_ptr<QWebSocket>> channels;
    for (int i = 0; i < cap; ++i) {
        channels.emplace_back(new QWebSocket);
        channels.back()->open(QUrl(QStringLiteral("%1C%2/Device/").arg(server.ws()).arg(i)));
    }
    QTRY_COMPARE_WITH_TIMEOUT(server.channels().size(), cap, 20000);

    QNetworkAccessManager nam;
    QCOMPARE(statusOf(nam, server.httpBase().resolved(QUrl("device")), "GET", "{\"code\":\"X\"}"), 404);

    // One more channel is told why it is refused.
    QByteArray answer;
    const int extra = rawChannel(server.wsPort(), "C99", &answer);
    QVERIFY2(answer.startsWith("HTTP/1.1 503"), answer.constData());
    ::close(extra);
    QCOMPARE(server.channels().size(), cap);
}

void TestCloudServer::stalledChannelDoesNotStallOthers()
{
    CloudServer server;
    QVERIFY(server.start());
    // A channel whose client stops reading right after the handshake.
    QByteArray answer;
    const int deaf = rawChannel(server.wsPort(), "DEAF", &answer);
    QVERIFY2(answer.startsWith("HTTP/1.1 101"), answer.constData());
    QWebSocket live;
    QSignalSpy texts(&live, &QWebSocket::textMessageReceived);
    live.open(QUrl(server.ws() + "LIVE/Device/"));
    QTRY_COMPARE_WITH_TIMEOUT(server.channels().size(), 2, 5000);

    // More than the kernel buffers between them: this write blocks. Once
    // bytes queue up unread, the pusher is inside it.
    const QString flood(32 * 1024 * 1024, QLatin1Char('x'));
    std::thread pusher([&] { server.push("DEAF", flood); });
    auto queued = [deaf] {
        int n = 0;
        ioctl(deaf, FIONREAD, &n);
        return n;
    };
    QTRY_VERIFY_WITH_TIMEOUT(queued() > 0, 10000);
    // Well inside the server's 10 s write timeout that would free a lock
    // held across the blocked write.
    std::thread other([&] {
        for (int i = 1; i <= 3; ++i)
            server.push("LIVE", QStringLiteral("ping %1").arg(i));
    });
    QTRY_COMPARE_WITH_TIMEOUT(texts.count(), 3, 5000);
    ::close(deaf);   // ends the blocked write
    pusher.join();
    other.join();
}

// A frame that announces more than a channel takes is refused on its header:
// the stand-in neither sets memory aside for it nor reads what follows.
void TestCloudServer::oversizedFrameRefusedUnheld()
{
    if (Sanitized)
        QSKIP("resident memory says nothing under AddressSanitizer");
    CloudServer server;
    QVERIFY(server.start());
    QByteArray answer;
    const int fd = rawChannel(server.wsPort(), "BIG", &answer);
    QVERIFY2(answer.startsWith("HTTP/1.1 101"), answer.constData());
    QTRY_COMPARE_WITH_TIMEOUT(server.channels(), QStringList{"BIG"}, 5000);

    // A masked text frame of 256 MiB (mask 0: the payload goes as is).
    constexpr qint64 announced = qint64(256) << 20;
    QByteArray frame("\x81\xff", 2);
    for (int shift = 56; shift >= 0; shift -= 8)
        frame += char((announced >> shift) & 0xff);
    frame += QByteArray(4, '\0');
    const QByteArray piece(1 << 20, 'x');
    const qint64 before = rssBytes();
    qint64 sent = ::send(fd, frame.constData(), size_t(frame.size()), MSG_NOSIGNAL) - frame.size();
    for (ssize_t n = 0; sent >= 0 && sent < announced; sent += n) {
        if ((n = ::send(fd, piece.constData(), size_t(piece.size()), MSG_NOSIGNAL)) <= 0)
            break;
    }
    const qint64 grown = rssBytes() - before;
    qInfo("%lld KiB of a 256 MiB frame taken before the refusal; the stand-in grew by %lld KiB",
          sent / 1024, grown / 1024);
    QVERIFY2(sent < announced, "the whole frame was taken");
    QVERIFY2(grown < 16 * 1024 * 1024, qPrintable(QString::number(grown)));
    QTRY_VERIFY_WITH_TIMEOUT(server.channels().isEmpty(), 5000);
    QVERIFY(server.channelTexts().isEmpty());
    ::close(fd);
}

void TestCloudServer::tablesFullAnswer507()
{
    CloudServer server;
    CloudServer::Limits limits;
    limits.tableEntries = 2;
    server.setLimits(limits);
    QVERIFY(server.start());
    QNetworkAccessManager nam;
    const QUrl model = server.httpBase().resolved(QUrl("device_model"));
    QCOMPARE(statusOf(nam, model, "POST", "{\"code\":\"A1\"}"), 200);
    QCOMPARE(statusOf(nam, model, "POST", "{\"code\":\"A2\"}"), 200);
    QCOMPARE(statusOf(nam, model, "POST", "{\"code\":\"A3\"}"), 507);
    QCOMPARE(statusOf(nam, model, "POST", "{\"code\":\"A1\"}"), 200);   // known devices still update
    QCOMPARE(statusOf(nam, model, "PATCH", "{\"code\":1}"), 200);
    QCOMPARE(statusOf(nam, model, "PATCH", "{\"code\":2}"), 200);
    QCOMPARE(statusOf(nam, model, "PATCH", "{\"code\":3}"), 507);
    QCOMPARE(server.devices().size(), 2);
}

// 2 KB of brackets overflowed a server thread's 100 KiB stack in the parser.
void TestCloudServer::deepJsonRefused()
{
    CloudServer server;
    QVERIFY(server.start());
    QNetworkAccessManager nam;
    const QUrl model = server.httpBase().resolved(QUrl("device_model"));
    QCOMPARE(statusOf(nam, model, "POST", QByteArray(1000, '[') + QByteArray(1000, ']')), 400);
    QCOMPARE(statusOf(nam, model, "POST", "{\"code\":\"A1\"}"), 200);
}

void TestCloudServer::consoleLinesEscaped()
{
    CloudServer server;
    QStringList lines;
    QMutex mutex;
    server.setLogger([&](const QString &line) {
        QMutexLocker lock(&mutex);
        lines << line;
    });
    QVERIFY(server.start());
    QNetworkAccessManager nam;
    const QByteArray hostile = "{\"code\":\"\x1b[2J\x1b]0;owned\x07\\n\xc2\x9b" "31m\"}";
    statusOf(nam, server.httpBase().resolved(QUrl("device")), "GET", hostile);
    QMutexLocker lock(&mutex);
    const QString all = lines.join(QLatin1Char('\n'));
    QVERIFY2(all.contains("\\x1b[2J\\x1b]0;owned\\x07"), qPrintable(all));
    for (const QString &line : qAsConst(lines)) {
        for (const QChar c : line)
            QVERIFY2(c.unicode() >= 0x20 && c.unicode() != 0x7f && (c.unicode() < 0x80 || c.unicode() >= 0xa0),
                     qPrintable(line));
    }
}

QTEST_MAIN(TestCloudServer)
#include "tst_cloudserver.moc"
