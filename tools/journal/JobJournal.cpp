// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobJournal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Interrupted jobs kept as candidates while reading; a resume names one of
// the recent ones.
constexpr int MaxOpenInterrupted = 64;
// A line longer than this is no record of ours; reading skips it.
constexpr qint64 MaxLine = 1 << 20;
} // namespace

QString JobJournal::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/vxdevice/jobs.jsonl");
}

QString JobJournal::configuredPath()
{
    const QString set = qEnvironmentVariable("VX_JOURNAL");
    return set.isEmpty() ? defaultPath() : set;
}

JobJournal::JobJournal(const QString &path) : m_path(path) {}

bool JobJournal::append(JobRecord &record, QString *error) const
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (record.id.isEmpty())
        record.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString dir = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(dir))
        return fail(tr("cannot create %1").arg(dir));
    const int fd = ::open(QFile::encodeName(m_path).constData(),
                          O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail(QStringLiteral("%1: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(errno))));
    QByteArray line = QJsonDocument(record.toJson()).toJson(QJsonDocument::Compact) + '\n';
    // A torn last line would swallow this record into itself (read access
    // is for this look back).
    const off_t size = ::lseek(fd, 0, SEEK_END);
    char lastByte = '\n';
    if (size > 0 && ::pread(fd, &lastByte, 1, size - 1) == 1 && lastByte != '\n')
        line.prepend('\n');
    ssize_t n;
    do
        n = ::write(fd, line.constData(), size_t(line.size()));
    while (n < 0 && errno == EINTR);
    const int saved = errno;
    ::close(fd);
    if (n != line.size())
        return fail(QStringLiteral("%1: %2").arg(m_path, n < 0 ? QString::fromLocal8Bit(std::strerror(saved))
                                                                : tr("short write")));
    return true;
}

template<typename F>
bool JobJournal::scan(F &&onRecord, int *skipped) const
{
    int bad = 0;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (skipped)
            *skipped = 0;
        return false;
    }
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(MaxLine);
        // Without its newline a line is torn (or still being written).
        if (!line.endsWith('\n')) {
            if (!line.isEmpty())
                ++bad;
            // An overlong line: drop the rest of it too.
            while (!file.atEnd() && !file.readLine(MaxLine).endsWith('\n')) {
            }
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        const QJsonDocument doc = QJsonDocument::fromJson(line);
        JobRecord r;
        if (!doc.isObject() || !JobRecord::fromJson(doc.object(), &r)) {
            ++bad;
            continue;
        }
        onRecord(r);
    }
    if (skipped)
        *skipped = bad;
    return true;
}

QList<JobRecord> JobJournal::last(int n, int *skipped) const
{
    QList<JobRecord> out;
    if (n <= 0) {
        if (skipped)
            *skipped = 0;
        return out;
    }
    scan([&](const JobRecord &r) {
        if (out.size() == n)
            out.removeFirst();
        out.append(r);
    }, skipped);
    return out;
}

std::optional<JobRecord> JobJournal::lastInterrupted(int *skipped) const
{
    QList<JobRecord> open;
    scan([&](const JobRecord &r) {
        if (!r.resumes.isEmpty()) {
            for (int i = open.size() - 1; i >= 0; --i)
                if (open.at(i).id == r.resumes)
                    open.removeAt(i);
        }
        if (r.outcome == JobRecord::Outcome::Interrupted && r.code.isEmpty()) {
            if (open.size() == MaxOpenInterrupted)
                open.removeFirst();
            open.append(r);
        }
    }, skipped);
    if (open.isEmpty())
        return std::nullopt;
    return open.last();
}

QByteArray JobJournal::fileSha256(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return QByteArray();
    return hash.result().toHex();
}

QByteArray JobJournal::sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}
