// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXSimulator_p.h"

using namespace SimNumbers;

namespace {

// Split "LETTERS number ':' value"; letters may be absent on later items.
bool parseItem(const QByteArray &item, QByteArray *letters, int *number, QByteArray *value)
{
    int i = 0;
    while (i < item.size() && item.at(i) >= 'A' && item.at(i) <= 'Z')
        ++i;
    *letters = item.left(i);
    const int colon = item.indexOf(':', i);
    bool ok = false;
    *number = item.mid(i, colon < 0 ? -1 : colon - i).toInt(&ok);
    if (value)
        *value = colon < 0 ? QByteArray() : item.mid(colon + 1);
    return ok;
}

// Text set through the API may hold bytes that would break a frame.
QByteArray wire(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    for (char &c : bytes)
        if (c == ';' || c == 0x02 || c == 0x03)
            c = ' ';
    return bytes;
}

QList<QByteArray> items(const QByteArray &body)
{
    QList<QByteArray> list = body.split(';');
    if (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list;
}

} // namespace

void VXSimulator::Private::store(VXSimulator::Space space, int number, const QString &value)
{
    QHash<int, QString> &map = space == VXSimulator::Cmd ? settings.cmd
                               : space == VXSimulator::Ccmd ? settings.ccmd : settings.num;
    const auto it = map.constFind(number);
    if (it != map.constEnd() && *it == value)
        return;
    map.insert(number, value);
    emit q->settingChanged(space, number, value);
}

void VXSimulator::Private::handleCmd(SimLink *link, const QByteArray &body)
{
    const QList<QByteArray> list = items(body);
    if (list.isEmpty())
        return;
    // The copies count travels without a number: NUM:V.
    if (list.first().startsWith("NUM:")) {
        const QByteArray v = list.first().mid(4);
        bool ok = false;
        if (v.toUInt(&ok) > 0 && ok)
            store(VXSimulator::Num, Copies, QString::fromLatin1(v));
        return;
    }
    QByteArray letters, value;
    int number = 0;
    if (!parseItem(list.first(), &letters, &number, &value))
        return;

    if (letters == "GET") {
        if (!settings.cmd.contains(number))
            return;
        QByteArray out;
        for (const QByteArray &item : list) {
            QByteArray l;
            int n = 0;
            if (!parseItem(item, &l, &n, nullptr))
                break;
            out += "GET" + QByteArray::number(n) + ':'
                   + wire(settings.cmd.value(n, QStringLiteral("0"))) + ';';
        }
        reply(link, "CMD", out);
        return;
    }
    if (letters != "SET")
        return;
    // A multi-word write: SET5:w0;6:w1;7:w2; each word under its own number.
    QByteArray out;
    QList<int> written;
    for (const QByteArray &item : list) {
        QByteArray l, v;
        int n = 0;
        if (!parseItem(item, &l, &n, &v) || !item.contains(':'))
            break;
        store(VXSimulator::Cmd, n, QString::fromUtf8(v));
        written << n;
        out += "SET" + QByteArray::number(n) + ':' + wire(settings.cmd.value(n)) + ';';
    }
    if (out.isEmpty())
        return;
    // Acknowledge first: a job report caused by the write follows it.
    reply(link, "CMD", out);
    for (int n : written)
        applyCmd(n, settings.cmd.value(n));
}

void VXSimulator::Private::applyCmd(int number, const QString &value)
{
    switch (number) {
    case JobControl:
        control(value.toInt());
        break;
    case SetOrigin:
        origin = head;
        break;
    case ToOrigin:
        if (!running)
            head = origin;
        break;
    default:
        break;
    }
}

QString VXSimulator::Private::deviceInfo() const
{
    return QStringList{model, settings.ccmd.value(DeviceId), settings.ccmd.value(PcbId),
                       settings.ccmd.value(PcbVersion), firmware, configNo}
        .join(QLatin1Char(','));
}

void VXSimulator::Private::handleCcmd(SimLink *link, const QByteArray &body)
{
    const QList<QByteArray> list = items(body);
    if (list.isEmpty())
        return;
    const QList<QByteArray> fields = list.first().split(',');
    bool ok = false;
    const int n = fields.first().toInt(&ok);
    if (!ok)
        return;
    const QByteArray head = QByteArray::number(n) + ',';

    const bool write = fields.size() >= 2;
    if (write && SimDefaults::ccmdWritable(n)) {
        const QString value = QString::fromUtf8(fields.mid(1).join(','));
        if (n == FactoryReset) {
            settings = factory();
            reply(link, "CCMD", head + "0;");
            return;
        }
        if (SimDefaults::ccmdWriteOnly(n)) {
            store(VXSimulator::Ccmd, n, value);
            reply(link, "CCMD", head + "0;");
            return;
        }
        // Numbers the machine also reads back: the acknowledgement carries
        // the value now held, so a refused write restores the old one.
        uint number = value.toUInt(&ok);
        const bool valid = n == QrFile || (ok && (n != QrCopies || number > 0));
        if (valid)
            store(VXSimulator::Ccmd, n, value);
        reply(link, "CCMD", head + wire(settings.ccmd.value(n)) + ';');
        // startTask of a QR-code job sends this write and nothing else.
        if (valid && n == QrCopies && !stack.isEmpty())
            startQrJob();
        return;
    }

    switch (n) {
    case Heartbeat:
        ++heartbeats;
        if (!faults.ignoreHeartbeat)
            reply(link, "CCMD", head + wire(settings.ccmd.value(Heartbeat)) + ';');
        return;
    case DeviceInfo:
        reply(link, "CCMD", head + "0," + wire(deviceInfo()) + ';');
        return;
    case QrCamera:
        // In a QR-code job: the code of the sheet under the camera.
        reply(link, "CCMD", head + wire(running && job.qr && !sheets.isEmpty() ? sheets.last().code : qrCode) + ';');
        return;
    case JobReport:
        reply(link, "CCMD", wire(reportItem()) + ';');
        return;
    default:
        break;
    }
    if (SimDefaults::ccmdReadable(n))
        reply(link, "CCMD", head + wire(settings.ccmd.value(n)) + ';');
    else
        reply(link, "CCMD", head + "1;"); // not readable, or unknown
}
