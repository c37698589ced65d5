// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ShopConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace {
constexpr int DefaultPort = 9100;
constexpr int MaxNameLength = 32;
// A config file is a few hundred bytes; anything this large is something else.
constexpr qint64 MaxConfigBytes = 1 << 20;

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// "HOST", "HOST:PORT", "[V6]:PORT", a bare IPv6 address, or a serial path,
// into the one form the stations read: "HOST:PORT" with IPv6 in brackets.
bool normalTarget(const QString &text, QString *out, QString *why)
{
    if (text.startsWith(QLatin1Char('/'))) {
        *out = QDir::cleanPath(text);
        return true;
    }
    QString host = text;
    QString port;
    if (text.startsWith(QLatin1Char('['))) {
        const int close = text.indexOf(QLatin1Char(']'));
        const QString rest = close < 0 ? QString() : text.mid(close + 1);
        if (close < 0 || (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':'))))
            return fail(why, ShopConfig::tr("'%1' is not an address: write IPv6 as [ADDRESS]:PORT").arg(text));
        host = text.mid(1, close - 1);
        port = rest.mid(1);
        if (QHostAddress(host).protocol() != QAbstractSocket::IPv6Protocol)
            return fail(why, ShopConfig::tr("'%1' is not an IPv6 address").arg(host));
    } else if (text.count(QLatin1Char(':')) == 1) {
        host = text.section(QLatin1Char(':'), 0, 0);
        port = text.section(QLatin1Char(':'), 1);
    } else if (text.contains(QLatin1Char(':')) && QHostAddress(text).protocol() != QAbstractSocket::IPv6Protocol) {
        return fail(why, ShopConfig::tr("'%1' is not an address").arg(text));
    }
    if (host.isEmpty() || host.contains(QLatin1Char('/')) || host.contains(QLatin1Char(' ')))
        return fail(why, ShopConfig::tr("'%1' names no host").arg(text));
    int number = DefaultPort;
    if (!port.isNull()) {
        bool ok = false;
        number = port.toInt(&ok);
        if (!ok || number < 1 || number > 65535)
            return fail(why, ShopConfig::tr("'%1' has no port from 1 to 65535").arg(text));
    }
    const bool v6 = host.contains(QLatin1Char(':'));
    *out = (v6 ? QStringLiteral("[%1]:%2") : QStringLiteral("%1:%2")).arg(host, QString::number(number));
    return true;
}

// A JSON object's members, each checked for its type, and every member not
// asked for refused by name: a misspelt "wach" would otherwise be ignored
// and the folder never watched.
class Members
{
public:
    Members(const QJsonObject &o, const QString &file, const QString &prefix)
        : m_o(o), m_file(file), m_prefix(prefix) {}

    QString where(const QString &key) const { return m_prefix + key; }
    QString say(const QString &what) const { return QStringLiteral("%1: %2").arg(m_file, what); }

    bool string(const char *key, QString *out, QString *error)
    {
        const QJsonValue v = take(key);
        if (v.isUndefined())
            return true;
        if (!v.isString())
            return fail(error, say(ShopConfig::tr("\"%1\" must be a string").arg(where(QLatin1String(key)))));
        *out = v.toString();
        return true;
    }
    bool path(const char *key, QString *out, QString *error)
    {
        QString p;
        if (!string(key, &p, error))
            return false;
        if (!p.isEmpty())   // relative to the config file's folder, not to where the service started
            *out = QDir::cleanPath(QFileInfo(m_file).absoluteDir().absoluteFilePath(p));
        return true;
    }
    bool whole(const char *key, qint64 low, qint64 high, qint64 *out, QString *error)
    {
        const QJsonValue v = take(key);
        if (v.isUndefined())
            return true;
        const double d = v.toDouble(-1);
        if (!v.isDouble() || d < low || d > high || d != std::floor(d))
            return fail(error, say(ShopConfig::tr("\"%1\" must be a whole number from %2 to %3")
                                       .arg(where(QLatin1String(key)), QString::number(low), QString::number(high))));
        *out = qint64(d);
        return true;
    }
    bool object(const char *key, QJsonObject *out, QString *error)
    {
        const QJsonValue v = take(key);
        if (v.isUndefined())
            return true;
        if (!v.isObject())
            return fail(error, say(ShopConfig::tr("\"%1\" must be an object").arg(where(QLatin1String(key)))));
        *out = v.toObject();
        return true;
    }
    bool array(const char *key, QJsonArray *out, QString *error)
    {
        const QJsonValue v = take(key);
        if (v.isUndefined())
            return true;
        if (!v.isArray())
            return fail(error, say(ShopConfig::tr("\"%1\" must be a list").arg(where(QLatin1String(key)))));
        *out = v.toArray();
        return true;
    }
    // After every member was taken: whatever is left is unknown.
    bool done(QString *error) const
    {
        if (m_o.isEmpty())
            return true;
        return fail(error, say(ShopConfig::tr("unknown member \"%1\"").arg(where(m_o.begin().key()))));
    }

private:
    QJsonValue take(const char *key) { return m_o.take(QLatin1String(key)); }

    QJsonObject m_o;
    QString m_file;
    QString m_prefix;
};

bool readMachine(const QJsonValue &value, const QString &file, const QString &prefix, MachineConfig *m,
                 QString *error)
{
    if (!value.isObject())
        return fail(error, QStringLiteral("%1: %2").arg(file, ShopConfig::tr("\"%1\" must be an object").arg(prefix)));
    Members in(value.toObject(), file, prefix + QLatin1Char('.'));
    QString target;
    qint64 copies = m->copies;
    QJsonObject cloud;
    if (!in.string("name", &m->name, error) || !in.string("target", &target, error)
        || !in.path("watch", &m->watch, error) || !in.whole("copies", 1, 1000, &copies, error)
        || !in.object("options", &m->options, error) || !in.object("cloud", &cloud, error) || !in.done(error))
        return false;
    m->copies = int(copies);
    if (m->name.isEmpty())
        return fail(error, in.say(ShopConfig::tr("\"%1\" is missing").arg(in.where(QStringLiteral("name")))));
    if (target.isEmpty())
        return fail(error, in.say(ShopConfig::tr("\"%1\" is missing").arg(in.where(QStringLiteral("target")))));
    QString why;
    if (!normalTarget(target, &m->target, &why))
        return fail(error, in.say(QStringLiteral("%1: %2").arg(in.where(QStringLiteral("target")), why)));
    Members c(cloud, file, prefix + QStringLiteral(".cloud."));
    return c.string("url", &m->cloudUrl, error) && c.string("ws", &m->cloudWs, error)
           && c.string("code", &m->cloudCode, error) && c.path("token_file", &m->cloudTokenFile, error)
           && c.done(error);
}

// "ADDR:PORT", "[V6]:PORT"; the port may be 0 (a free one).
bool splitListen(const QString &listen, QString *host)
{
    const int colon = listen.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const int port = listen.mid(colon + 1).toInt(&ok);
    if (colon < 0 || !ok || port < 0 || port > 65535)
        return false;
    *host = listen.left(colon);
    if (host->startsWith(QLatin1Char('[')) && host->endsWith(QLatin1Char(']')))
        *host = host->mid(1, host->size() - 2);
    else if (host->contains(QLatin1Char(':')))
        return false;
    return true;
}
} // namespace

bool ShopConfig::validName(const QString &name)
{
    if (name.isEmpty() || name.size() > MaxNameLength)
        return false;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        const bool ascii = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
        if (!ascii && u != '-' && u != '_')
            return false;
    }
    return true;
}

bool ShopConfig::parseMachine(const QString &text, MachineConfig *out, QString *error)
{
    const int at = text.indexOf(QLatin1Char('@'));
    if (at < 0)
        return fail(error, tr("'%1' is not NAME@HOST:PORT or NAME@/dev/PATH").arg(text));
    MachineConfig m;
    m.name = text.left(at);
    if (!validName(m.name))
        return fail(error, tr("'%1' is not a usable machine name: letters, digits, '-' and '_', at most %2")
                               .arg(m.name, QString::number(MaxNameLength)));
    const QString target = text.mid(at + 1);
    if (target.isEmpty())
        return fail(error, tr("'%1' names no machine after '@'").arg(text));
    if (!normalTarget(target, &m.target, error))
        return false;
    *out = m;
    return true;
}

bool ShopConfig::readFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    if (file.size() > MaxConfigBytes)
        return fail(error, tr("%1: too large for a config file").arg(path));
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(MaxConfigBytes), &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(error, tr("%1: not JSON: %2 (at byte %3)").arg(path, parse.errorString(), QString::number(parse.offset)));
    if (!doc.isObject())
        return fail(error, tr("%1: not a JSON object").arg(path));

    // All or nothing: a file refused halfway leaves the configuration as it was.
    ShopConfig next = *this;
    next.machines.clear();
    Members in(doc.object(), path, QString());
    qint64 uploadMb = maxUploadBytes >> 20, dbMb = maxDbBytes >> 20;
    QJsonArray list;
    if (!in.string("listen", &next.listen, error) || !in.path("data", &next.dataDir, error)
        || !in.path("token_file", &next.tokenFile, error) || !in.whole("max_upload_mb", 1, 1 << 16, &uploadMb, error)
        || !in.whole("max_db_mb", 0, 1 << 20, &dbMb, error) || !in.array("machines", &list, error) || !in.done(error))
        return false;
    next.maxUploadBytes = uploadMb << 20;
    next.maxDbBytes = dbMb << 20;
    for (int i = 0; i < list.size(); ++i) {
        const QString prefix = QStringLiteral("machines[%1]").arg(i);
        MachineConfig m;
        QString why;
        if (!readMachine(list.at(i), path, prefix, &m, error))
            return false;
        if (!next.addMachine(m, &why))
            return fail(error, QStringLiteral("%1: %2: %3").arg(path, prefix, why));
    }
    // The file's machines come first, whenever the command line's were added.
    for (const MachineConfig &m : qAsConst(machines)) {
        QString why;
        if (!next.addMachine(m, &why))
            return fail(error, QStringLiteral("%1: %2").arg(path, why));
    }
    *this = next;
    return true;
}

bool ShopConfig::addMachine(const MachineConfig &machine, QString *error)
{
    if (!validName(machine.name))
        return fail(error, tr("'%1' is not a usable machine name: letters, digits, '-' and '_', at most %2")
                               .arg(machine.name, QString::number(MaxNameLength)));
    if (machine.target.isEmpty())
        return fail(error, tr("machine %1 has no address").arg(machine.name));
    // Names become folders: "Left" and "left" would share one on some disks.
    for (const MachineConfig &m : qAsConst(machines)) {
        if (m.name.compare(machine.name, Qt::CaseInsensitive) == 0)
            return fail(error, tr("the machine name %1 is given twice").arg(machine.name));
    }
    machines.append(machine);
    return true;
}

bool ShopConfig::listensOnLoopback() const
{
    QString host;
    if (!splitListen(listen, &host))
        return false;
    return host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

bool ShopConfig::check(QString *error) const
{
    QString host;
    if (!splitListen(listen, &host))
        return fail(error, tr("the listen address '%1' is not ADDRESS:PORT").arg(listen));
    if (machines.isEmpty())
        return fail(error, tr("no machine to serve: name one with --machine NAME@HOST:PORT or in the config file"));
    if (!listensOnLoopback() && tokenFile.isEmpty())
        return fail(error, tr("listening on %1 lets other computers in: a token file is needed "
                              "(--token-file or \"token_file\")").arg(listen));
    return true;
}
