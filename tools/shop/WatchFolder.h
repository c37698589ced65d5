// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QObject>
#include <QString>

class Shop;
struct DesignCheck;

// A machine's hot folder. A regular file that appears in it (not hidden,
// not a partial download such as "*.part" or "*.tmp") is taken once it is
// complete: renamed in, or its size and time unchanged over two looks one
// settle period apart. It is checked like an upload and queued with the
// folder's options and copies, or refused into failed/ with the reason.
// When its job ends the file moves to done/ or failed/, with
// "<name>.report.txt" beside it. Files already there at start are taken
// too. Sub-folders are never entered; links are not followed out.
class WatchFolder : public QObject
{
    Q_OBJECT
public:
    WatchFolder(Shop &shop, const QString &machine, const QString &folder, QObject *parent = nullptr);
    ~WatchFolder() override;
    bool start(QString *error);
    QString folder() const { return m_folder; }
    // How long a file must stay unchanged (default 1000 ms).
    void setSettleMs(int ms) { m_settleMs = ms; }
    // A queue entry ended: when it came from this folder, its file moves
    // to done/ or failed/ with its report.
    void entryEnded(qint64 id);

signals:
    // A file was queued (id) or refused into failed/ (id 0, with why).
    void taken(const QString &file, qint64 id, const QString &why);

private:
    struct Private;
    void look();
    void takeNext();
    void checked(const QString &path, const QString &stored, const DesignCheck &check, const QString &error);
    void refuse(const QString &path, const QString &why);
    QString moveOut(const QString &path, const QString &sub, const QString &report);

    Private *d = nullptr;
    Shop &m_shop;
    QString m_machine;
    QString m_folder;
    int m_settleMs = 1000;
};
