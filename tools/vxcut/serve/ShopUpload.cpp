// SPDX-License-Identifier: LGPL-2.1-or-later
// POST /api/machines/NAME/jobs?name=FILE&copies=N&options=JSON&by=WHO, the
// body the design's bytes. Nothing the client sends becomes a path: the
// stored file's name comes from Shop::storagePath.
#include "Shop.h"
#include "ShopHttp.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>

#include <civetweb.h>

namespace {

const int kChunk = 64 * 1024;
// An upload slower than this is cut off (plus a minute for anyone).
const qint64 kSlowestBytesPerSecond = 64 * 1024;

// Who added it, as the queue shows it: printable, bounded, and always the
// address the request came from.
QString addedBy(const QString &by, const QString &peer)
{
    QString clean;
    for (const QChar c : by.left(64)) {
        if (c.isPrint())
            clean += c;
    }
    clean = clean.trimmed();
    const QString web = QStringLiteral("web ") + peer;
    return clean.isEmpty() ? web : QStringLiteral("%1 (%2)").arg(clean, web);
}

// The body into `file`: false with why when it ends early or runs late.
bool receive(HttpExchange &x, QFile &file, QString *why)
{
    const qint64 length = x.contentLength;
    const QDeadlineTimer deadline(60000 + length * 1000 / kSlowestBytesPerSecond);
    QByteArray chunk(kChunk, Qt::Uninitialized);
    qint64 got = 0;
    // Each pass takes at least a byte, and never more than was announced.
    while (got < length) {
        if (deadline.hasExpired()) {
            *why = QCoreApplication::translate("ShopHttp", "the upload was too slow: %1 of %2 bytes in time")
                       .arg(got).arg(length);
            return false;
        }
        const int n = mg_read(x.conn, chunk.data(), size_t(qMin<qint64>(kChunk, length - got)));
        if (n <= 0) {
            *why = QCoreApplication::translate("ShopHttp", "the upload ended after %1 of %2 bytes")
                       .arg(got).arg(length);
            return false;
        }
        if (file.write(chunk.constData(), n) != n) {
            *why = QCoreApplication::translate("ShopHttp", "the file could not be stored: %1").arg(file.errorString());
            return false;
        }
        got += n;
    }
    if (!file.flush()) {
        *why = QCoreApplication::translate("ShopHttp", "the file could not be stored: %1").arg(file.errorString());
        return false;
    }
    return true;
}

}

namespace ShopUpload {

void handle(HttpExchange &x)
{
    // Judged on the headers alone: nothing is read of a body refused.
    if (x.contentLength < 0) {
        x.error(411, QCoreApplication::translate("ShopHttp", "an upload needs a Content-Length"));
        return;
    }
    const qint64 limit = x.server.maxUploadBytes();
    if (x.contentLength > limit) {
        x.error(413, QCoreApplication::translate("ShopHttp", "the file has %1 bytes; this service takes at most %2 MiB")
                         .arg(x.contentLength).arg(double(limit) / (1 << 20), 0, 'f', 1));
        return;
    }
    if (x.contentLength == 0) {
        x.error(400, QCoreApplication::translate("ShopHttp", "the upload is empty"));
        return;
    }
    int copies = 1;
    if (!x.intArg(QStringLiteral("copies"), 1, 1, 9999, &copies))
        return;
    QJsonObject options;
    const QString optionText = x.arg(QStringLiteral("options"));
    if (!optionText.isEmpty()) {
        QJsonParseError parse{};
        const QJsonDocument doc = QJsonDocument::fromJson(optionText.toUtf8(), &parse);
        if (!doc.isObject()) {
            x.error(400, QCoreApplication::translate("ShopHttp", "options is not a JSON object"));
            return;
        }
        options = doc.object();
    }
    QString fileName = x.arg(QStringLiteral("name")).left(255);
    if (fileName.trimmed().isEmpty())
        fileName = QStringLiteral("upload");
    const QString machine = x.captures.value(0);
    const QString by = addedBy(x.arg(QStringLiteral("by")), x.peer);

    Shop &shop = x.server.shop();
    ShopResult r;
    QString stored;
    double width = 0, height = 0;
    if (!x.onService([&] {
            r = shop.storagePath(machine, fileName, &stored);
            if (r)
                r = shop.workArea(machine, &width, &height);
        }))
        return;
    if (!r) {
        x.result(r);
        return;
    }

    QFile file(stored);
    // NewOnly: a name the shop handed out is never someone else's file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        x.error(503, QCoreApplication::translate("ShopHttp", "the file could not be stored: %1")
                         .arg(file.errorString()));
        return;
    }
    QString why;
    const bool received = receive(x, file, &why);
    file.close();
    if (!received) {
        QFile::remove(stored);
        x.error(400, why);
        return;
    }
    // Off the service thread: reading and planning a large design takes a
    // while, and the machines go on meanwhile.
    DesignCheck check;
    x.server.onFullStack([&] { check = Shop::check(stored, options, width, height); });
    if (!check.ok) {
        QFile::remove(stored);
        x.error(400, check.error);
        return;
    }
    if (!x.onService([&] { r = shop.add(machine, stored, fileName, options, copies, by); })) {
        QFile::remove(stored);
        return;
    }
    if (!r) {
        QFile::remove(stored);
        x.result(r);
        return;
    }
    x.json(201, r.body.contains(QStringLiteral("job")) ? r.body : QJsonObject{{QStringLiteral("job"), r.body}});
}

}
