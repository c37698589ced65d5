// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXSimulator_p.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

#include <unistd.h>

namespace {
constexpr int MaxKeptFrames = 10000;
constexpr int MaxKeptPlotBody = 64 << 10;
} // namespace

VXSimulator::Private::Private(VXSimulator *q) : q(q)
{
    clock.setInterval(SimTickMs);
    QObject::connect(&clock, &QTimer::timeout, q, [this] { tick(); });
    downTimer.setSingleShot(true);
    QObject::connect(&downTimer, &QTimer::timeout, q, [this] {
        down = false;
        // The same port again: a host reconnects to the address it knows.
        bool back = server && !server->isListening() && server->listen(address, port);
        // A new pseudo-terminal gets a new name; the link follows it.
        if (ptyBack)
            back = this->q->startPty() || back;
        ptyBack = false;
        if (back)
            emit this->q->linkBack();
    });
}

SimDefaults VXSimulator::Private::factory() const
{
    SimDefaults f = SimDefaults::factory();
    f.ccmd.insert(SimNumbers::DeviceId, deviceId);
    f.ccmd.insert(SimNumbers::UniqueId, uniqueId);
    return f;
}

VXSimulator::VXSimulator(QObject *parent) : QObject(parent), d(new Private(this))
{
    qRegisterMetaType<VXSimFrame>();
    qRegisterMetaType<VXSimulator::Space>();
}

VXSimulator::~VXSimulator()
{
    stop();
}

bool VXSimulator::start(quint16 port, const QHostAddress &address)
{
    if (d->server) {
        d->error = QStringLiteral("already listening");
        return false;
    }
    d->server = new QTcpServer(this);
    if (!d->server->listen(address, port)) {
        d->error = d->server->errorString();
        delete d->server;
        d->server = nullptr;
        return false;
    }
    d->port = d->server->serverPort();
    d->address = address;
    connect(d->server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = d->server->nextPendingConnection())
            d->addLink(new SimTcpLink(socket, d->faults, this));
    });
    d->clock.start();
    d->wall.start();
    return true;
}

bool VXSimulator::startPty()
{
    if (d->pty && d->pty->isOpen()) {
        d->error = QStringLiteral("pseudo-terminal already open");
        return false;
    }
    auto *link = new SimPtyLink(d->faults, this);
    if (!link->open(&d->error)) {
        delete link;
        return false;
    }
    d->pty = link;
    if (!d->ptyLink.isEmpty()) {
        // Replaced in one rename, so a host never finds the link missing.
        const QByteArray target = QFile::encodeName(link->path());
        const QByteArray name = QFile::encodeName(d->ptyLink);
        const QByteArray tmp = name + ".new";
        ::unlink(tmp.constData());
        if (::symlink(target.constData(), tmp.constData()) != 0
            || ::rename(tmp.constData(), name.constData()) != 0) {
            d->error = QStringLiteral("cannot link %1 to %2").arg(d->ptyLink, link->path());
            ::unlink(tmp.constData());
        }
    }
    d->addLink(link);
    d->clock.start();
    d->wall.start();
    return true;
}

void VXSimulator::stop()
{
    if (d->server) {
        d->server->close();
        delete d->server;
        d->server = nullptr;
    }
    d->downTimer.stop();
    d->down = false;
    d->ptyBack = false;
    if (!d->ptyLink.isEmpty())
        ::unlink(QFile::encodeName(d->ptyLink).constData());
    const auto links = d->links;
    for (const auto &link : links)
        if (link)
            link->drop();
    d->clock.stop();
}

quint16 VXSimulator::serverPort() const
{
    return d->server ? d->port : 0;
}

QString VXSimulator::ptyPath() const
{
    return d->pty && d->pty->isOpen() ? d->pty->path() : QString();
}

QString VXSimulator::errorString() const
{
    return d->error;
}

int VXSimulator::linkCount() const
{
    int n = 0;
    for (const auto &link : d->links)
        n += link && link->isOpen();
    return n;
}

void VXSimulator::setSpeedup(double factor)
{
    d->speedup = factor > 0 ? factor : 1;
}

double VXSimulator::speedup() const
{
    return d->speedup;
}

static QHash<int, QString> &spaceMap(SimDefaults &s, VXSimulator::Space space)
{
    return space == VXSimulator::Cmd ? s.cmd : space == VXSimulator::Ccmd ? s.ccmd : s.num;
}

QString VXSimulator::setting(Space space, int number) const
{
    return spaceMap(d->settings, space).value(number);
}

bool VXSimulator::hasSetting(Space space, int number) const
{
    return spaceMap(d->settings, space).contains(number);
}

void VXSimulator::setSetting(Space space, int number, const QString &value)
{
    d->store(space, number, value);
}

QList<int> VXSimulator::settingNumbers(Space space) const
{
    QList<int> numbers = spaceMap(d->settings, space).keys();
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

void VXSimulator::resetSettings()
{
    d->settings = d->factory();
}

void VXSimulator::setDeviceId(const QString &id)
{
    d->deviceId = id;
    d->store(Ccmd, SimNumbers::DeviceId, id);
}

void VXSimulator::setUniqueId(const QString &id)
{
    d->uniqueId = id;
    d->store(Ccmd, SimNumbers::UniqueId, id);
}

void VXSimulator::setIdentity(const QString &model, const QString &firmware, const QString &configNo)
{
    d->model = model;
    d->firmware = firmware;
    d->configNo = configNo;
}

QString VXSimulator::qrCode() const
{
    return d->qrCode;
}

void VXSimulator::setQrCode(const QString &code)
{
    d->qrCode = code;
}

double VXSimulator::materialFed() const
{
    return d->materialFed;
}

QPointF VXSimulator::headPosition() const
{
    return d->head - d->origin;
}

QList<VXSimFrame> VXSimulator::receivedFrames() const
{
    return d->frames;
}

void VXSimulator::clearReceivedFrames()
{
    d->frames.clear();
}

QList<VXSimJob> VXSimulator::jobs() const
{
    return d->jobs;
}

QByteArray VXSimulator::lastJobData() const
{
    return d->lastJobData;
}

bool VXSimulator::busy() const
{
    return d->running;
}

int VXSimulator::heartbeatCount() const
{
    return d->heartbeats;
}

qint64 VXSimulator::discardedBytes() const
{
    qint64 n = d->discarded;
    for (const SimFrameReader *reader : d->readers)
        n += reader->discarded();
    return n;
}

void VXSimulator::setOneByteChunks(bool on) { d->faults.oneByteChunks = on; }
void VXSimulator::setGarbageBetweenFrames(bool on) { d->faults.garbage = on; }
void VXSimulator::setIgnoreHeartbeat(bool on) { d->faults.ignoreHeartbeat = on; }
void VXSimulator::setDropAfterReceived(qint64 bytes) { d->faults.dropAfterReceived = bytes; }
void VXSimulator::setDropAfterSent(qint64 bytes) { d->faults.dropAfterSent = bytes; }
void VXSimulator::setEndlessFrame(bool on) { d->faults.endlessFrame = on; }

void VXSimulator::setDropMidJob(int percent)
{
    d->faults.dropMidJobPercent = percent;
    d->midJobDropped = false;
}

void VXSimulator::setPtyLink(const QString &path)
{
    d->ptyLink = path;
}

void VXSimulator::dropLinks()
{
    const bool hadPty = d->pty && d->pty->isOpen();
    const auto links = d->links;
    for (const auto &link : links)
        if (link)
            link->drop();
    if (d->downForMs <= 0)
        return;
    // Closed, not paused: a paused server still completes handshakes, and a
    // host would think the machine is back.
    const bool hadServer = d->server && d->server->isListening();
    if (hadServer)
        d->server->close();
    d->ptyBack = hadPty && !d->ptyLink.isEmpty();
    if (hadServer || d->ptyBack) {
        d->down = true;
        d->downTimer.start(d->downForMs);
    }
}

void VXSimulator::setAbortOnDrop(bool on) { d->abortOnDrop = on; }
void VXSimulator::setDownFor(int ms) { d->downForMs = qMax(0, ms); }
bool VXSimulator::isDown() const { return d->down; }

void VXSimulator::Private::addLink(SimLink *link)
{
    links.append(link);
    readers.insert(link, new SimFrameReader());
    QObject::connect(link, &SimLink::received, q,
                     [this, link](const QByteArray &bytes) { onReceived(link, bytes); });
    QObject::connect(link, &SimLink::closed, q, [this, link] { onClosed(link); });
    emit q->linkOpened();
}

void VXSimulator::Private::onClosed(SimLink *link)
{
    links.removeAll(link);
    if (SimFrameReader *reader = readers.take(link)) {
        discarded += reader->discarded();
        delete reader;
    }
    link->deleteLater();
    emit q->linkClosed();
    if (abortOnDrop && running && q->linkCount() == 0) {
        // The machine gives the job up; the last report keeps how far it
        // got, for the host that comes back and asks (CCMD 66).
        queue.clear();
        finishJob(VXSimJobStatus::Stopped);
    }
}

void VXSimulator::Private::onReceived(SimLink *link, const QByteArray &bytes)
{
    SimFrameReader *reader = readers.value(link);
    if (!reader || !link->isOpen())
        return;
    QByteArray chunk = bytes;
    bool dropNow = false;
    const qint64 limit = faults.dropAfterReceived;
    if (limit >= 0 && link->receivedBytes() + chunk.size() >= limit) {
        chunk.truncate(int(qMax<qint64>(0, limit - link->receivedBytes())));
        dropNow = true;
    }
    link->countReceived(chunk.size());
    reader->append(chunk);
    SimFrameReader::Frame frame;
    // The link may close while a frame is handled (mid-job drop).
    while (link->isOpen() && reader->next(frame))
        dispatch(link, frame);
    if (dropNow)
        link->drop();
}

void VXSimulator::Private::dispatch(SimLink *link, const SimFrameReader::Frame &frame)
{
    VXSimFrame record{frame.kind, frame.body, frame.lengthOk};
    // Thousands of kept plot bodies would be gigabytes; the last job is
    // kept whole apart.
    if (frame.kind != "CMD" && frame.kind != "CCMD" && record.body.size() > MaxKeptPlotBody)
        record.body.truncate(MaxKeptPlotBody);
    if (frames.size() >= MaxKeptFrames)
        frames.removeFirst();
    frames.append(record);
    emit q->frameReceived(record);

    if (frame.kind == "CMD")
        handleCmd(link, frame.body);
    else if (frame.kind == "CCMD")
        handleCcmd(link, frame.body);
    else if (frame.kind == "QR_PLT" && running && job.qr)
        acceptQrPlot(frame.body);
    else if (frame.kind == "PLT" || frame.kind == "PPLT" || frame.kind == "QR_PLT")
        acceptPlot(frame.kind, frame.body);
}

void VXSimulator::Private::reply(SimLink *link, const QByteArray &kind, const QByteArray &body)
{
    if (link && link->isOpen())
        link->sendFrame(SimFrameReader::build(kind, body));
}

void VXSimulator::Private::broadcast(const QByteArray &kind, const QByteArray &body)
{
    const QByteArray frame = SimFrameReader::build(kind, body);
    const auto all = links;
    for (const auto &link : all)
        if (link && link->isOpen())
            link->sendFrame(frame);
}
