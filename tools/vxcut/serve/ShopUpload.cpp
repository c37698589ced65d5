// SPDX-License-Identifier: LGPL-2.1-or-later
// POST /api/machines/NAME/jobs?name=FILE&copies=N&options=JSON&by=WHO, the
// body the design's bytes; POST /api/machines/NAME/nests?options=JSON&
// nest=JSON&by=WHO, a multipart form of part files. Nothing the client
// sends becomes a path: every stored file's name comes from
// Shop::storagePath.
#include "Shop.h"
#include "ShopHttp.h"
#include "JsonDepth.h"
#include "ShopNest.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstring>

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

// Judged on the headers alone: nothing is read of a body refused.
bool sizeAdmitted(HttpExchange &x)
{
    if (x.contentLength < 0) {
        x.error(411, QCoreApplication::translate("ShopHttp", "an upload needs a Content-Length"));
        return false;
    }
    const qint64 limit = x.server.maxUploadBytes();
    if (x.contentLength > limit) {
        x.error(413, QCoreApplication::translate("ShopHttp", "the file has %1 bytes; this service takes at most %2 MiB")
                         .arg(x.contentLength).arg(double(limit) / (1 << 20), 0, 'f', 1));
        return false;
    }
    if (x.contentLength == 0) {
        x.error(400, QCoreApplication::translate("ShopHttp", "the upload is empty"));
        return false;
    }
    return true;
}

// A query item holding a JSON object; absent: {}. False, answered 400, when it is none.
bool objectArg(HttpExchange &x, const char *key, QJsonObject *out)
{
    const QString text = x.arg(QLatin1String(key));
    if (text.isEmpty())
        return true;
    const QByteArray utf8 = text.toUtf8();
    const QJsonDocument doc = JsonDepth::within(utf8) ? QJsonDocument::fromJson(utf8) : QJsonDocument();
    if (!doc.isObject()) {
        x.error(400, QCoreApplication::translate("ShopHttp", "%1 is not a JSON object").arg(QLatin1String(key)));
        return false;
    }
    *out = doc.object();
    return true;
}

}

namespace ShopUpload {

void handle(HttpExchange &x)
{
    if (!sizeAdmitted(x))
        return;
    int copies = 1;
    if (!x.intArg(QStringLiteral("copies"), 1, 1, 9999, &copies))
        return;
    QJsonObject options;
    if (!objectArg(x, "options", &options))
        return;
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

namespace {

// What the form parser hands over, gathered on the request's worker.
struct NestForm
{
    HttpExchange &x;
    QString machine;
    QJsonObject quantities;     // by the part's file name (CivetWeb passes its last segment)
    QDeadlineTimer deadline;
    QJsonArray parts;           // {file, name, quantity}: stored whole
    QStringList made;           // every file made, removed unless queued
    QString name, path;         // the part being stored
    bool refused = false;
    ShopResult refusal;

    int refuse(ShopResult::Kind kind, const QString &why)
    {
        if (!refused)
            refusal = ShopResult::fail(kind, why);
        refused = true;
        return MG_FORM_FIELD_STORAGE_ABORT;
    }
    // Looked at between fields: a part trickled in is cut off at the next.
    bool late()
    {
        if (!deadline.hasExpired())
            return false;
        refuse(ShopResult::Invalid, QCoreApplication::translate("ShopHttp", "the upload was too slow"));
        return true;
    }
};

int partFound(const char *key, const char *filename, char *path, size_t pathlen, void *user)
{
    auto *form = static_cast<NestForm *>(user);
    if (std::strcmp(key, "part") != 0 || !filename)
        return MG_FORM_FIELD_STORAGE_SKIP;
    if (form->late())
        return MG_FORM_FIELD_STORAGE_ABORT;
    if (form->made.size() >= ShopNest::MaxParts)
        return form->refuse(ShopResult::Invalid, QCoreApplication::translate("ShopHttp", "a nest takes at most %1 part files")
                                                     .arg(ShopNest::MaxParts));
    QString name = QString::fromUtf8(filename).left(255);
    if (name.trimmed().isEmpty())
        name = QStringLiteral("part");
    ShopResult r;
    QString stored;
    if (!form->x.onService([&] { r = form->x.server.shop().storagePath(form->machine, name, &stored); })) {
        form->refused = true;   // answered: the service is stopping
        return MG_FORM_FIELD_STORAGE_ABORT;
    }
    if (!r)
        return form->refuse(r.kind, r.message);
    // NewOnly: a name the shop handed out is never someone else's file;
    // the parser then writes into the file claimed here.
    QFile claim(stored);
    if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return form->refuse(ShopResult::Unavailable, QCoreApplication::translate("ShopHttp", "the file could not be stored: %1")
                                                         .arg(claim.errorString()));
    claim.close();
    form->made << stored;
    const QByteArray local = QFile::encodeName(stored);
    if (size_t(local.size()) >= pathlen)
        return form->refuse(ShopResult::Unavailable, QCoreApplication::translate("ShopHttp", "the file could not be stored: "
                                                                                              "its path is too long"));
    std::memcpy(path, local.constData(), size_t(local.size()) + 1);
    form->name = name;
    form->path = stored;
    return MG_FORM_FIELD_STORAGE_STORE;
}

int partValue(const char *, const char *, size_t, void *)
{
    return MG_FORM_FIELD_HANDLE_NEXT;
}

int partStored(const char *, long long, void *user)
{
    auto *form = static_cast<NestForm *>(user);
    QJsonObject part{{QStringLiteral("file"), form->path}, {QStringLiteral("name"), form->name}};
    const QJsonValue quantity = form->quantities.value(form->name);
    if (!quantity.isUndefined())
        part.insert(QStringLiteral("quantity"), quantity);
    form->parts.append(part);
    return form->late() ? MG_FORM_FIELD_HANDLE_ABORT : MG_FORM_FIELD_HANDLE_NEXT;
}

}

namespace ShopUpload {

void handleNest(HttpExchange &x)
{
    if (!sizeAdmitted(x))
        return;
    const char *type = mg_get_header(x.conn, "Content-Type");
    if (!type || !QByteArray(type).trimmed().toLower().startsWith("multipart/form-data")) {
        x.error(400, QCoreApplication::translate("ShopHttp", "a nest is sent as multipart/form-data, "
                                                             "each part file a field named part"));
        return;
    }
    QJsonObject options, nestOptions;
    if (!objectArg(x, "options", &options) || !objectArg(x, "nest", &nestOptions))
        return;
    const QJsonValue quantities = nestOptions.take(QStringLiteral("quantities"));
    if (!quantities.isUndefined() && !quantities.isObject()) {
        x.error(400, QCoreApplication::translate("ShopHttp", "the nest's quantities are not a JSON object"));
        return;
    }
    const QString machine = x.captures.value(0);
    const QString by = addedBy(x.arg(QStringLiteral("by")), x.peer);
    NestForm form{x, machine, quantities.toObject(),
                  QDeadlineTimer(60000 + x.contentLength * 1000 / kSlowestBytesPerSecond), {}, {}, {}, {}, false, {}};
    // Whatever is not queued in the end is removed, half-written parts too.
    const auto answer = [&x, &form](const ShopResult &r) {
        for (const QString &path : form.made)
            QFile::remove(path);
        x.result(r);
    };
    mg_form_data_handler handler{partFound, partValue, partStored, &form};
    const int fields = mg_handle_form_request(x.conn, &handler);
    if (form.refused)
        return answer(form.refusal);
    if (fields < 0 || form.parts.size() != form.made.size())
        return answer(ShopResult::fail(ShopResult::Invalid,
                                       QCoreApplication::translate("ShopHttp", "the form ended early or could not be read")));
    if (form.parts.isEmpty())
        return answer(ShopResult::fail(ShopResult::Invalid, QCoreApplication::translate(
                                           "ShopHttp", "no part file: send each as a file field named part")));

    Shop &shop = x.server.shop();
    double width = 0, height = 0;
    ShopResult r;
    if (!x.onService([&] { r = shop.workArea(machine, &width, &height); }))
        return answer(r);
    if (!r)
        return answer(r);
    QJsonObject nest = nestOptions;
    nest.insert(QStringLiteral("parts"), form.parts);
    // Off the service thread, as a design's check.
    DesignCheck check;
    x.server.onFullStack([&] { check = Shop::checkNest(nest, options, width, height); });
    if (!check.ok)
        return answer(ShopResult::fail(ShopResult::Invalid, check.error));
    if (!x.onService([&] { r = shop.addNest(machine, form.parts, nestOptions, options, by, true); }))
        return answer(r);
    if (!r)
        return answer(r);
    x.json(201, r.body);
}

}
