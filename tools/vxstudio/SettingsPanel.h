// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "interface/VXDeviceInterface.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

class QLabel;
class QPushButton;
class QScrollArea;
class QTabWidget;
class VXDeviceProperty;
class DeviceSession;
class UnreadEditors;

// The machine's settings (the device's user list) in the plugin's own editor
// rows and tab pages, and its information (the system list) as read-only
// rows. The plugin decides the editors; this panel decides when they are
// filled, read back and sent. Until the machine answered, an editor says
// "not read" rather than show the device object's made-up value.
class SettingsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget *parent = nullptr);

    // Rebuilds every editor for the session's device (null: none). The device
    // outlives the editors' use: call setSession(nullptr) before dropping it.
    void setSession(DeviceSession *session);

    // The machine information rows, placed by the window wherever it likes.
    QWidget *infoBox() const { return m_infoBox; }
    // The tab widget the plugin's tab pages went into; null when none.
    QTabWidget *tabs() const;
    // An editor by the key the plugin named it with.
    QWidget *editor(const QString &key) const;
    // Editors still waiting for the machine's first answer.
    int unreadCount() const;
    // Records behind the user list (names without a record skipped).
    QList<VXDeviceProperty *> userRecords() const { return m_userTop; }

public slots:
    // Sends every readable record's query; editors follow as replies land.
    void readFromMachine();
    // Reads the editors back and writes every record whose value changed;
    // the machine's acknowledgement and read-back are shown as they come.
    void writeToMachine();
    // Refreshes the editors of records whose value changed since shown.
    void syncEditors();

signals:
    void logMessage(const QString &text);

private:
    static void collect(VXDeviceProperty *record, QList<VXDeviceProperty *> *out);
    void buildInto(QWidget *area, const QStringList &keys, QList<VXDeviceProperty *> *top);
    void clear();
    void showWriteResults();
    void markUnread(VXDeviceProperty *record, const QString &key);

    QPointer<DeviceSession> m_session;
    QPointer<VXDeviceInterface> m_device;
    QStringList m_confirmed;
    QStringList m_failed;
    int m_writesPending = 0;
    QWidget *m_userArea = nullptr;
    QWidget *m_infoArea = nullptr;
    QWidget *m_infoBox = nullptr;
    QScrollArea *m_settingsScroll = nullptr;
    QScrollArea *m_infoScroll = nullptr;
    QPushButton *m_read = nullptr;
    QPushButton *m_write = nullptr;
    QLabel *m_writeStatus = nullptr;
    QList<VXDeviceProperty *> m_userTop;      // the user list's records, in list order
    QList<VXDeviceProperty *> m_userAll;      // and their members, deduplicated
    QList<VXDeviceProperty *> m_allRecords;   // user and system records with members
    QHash<VXDeviceProperty *, QVariant> m_shown;   // value each editor last showed
    QTimer m_sync;
    UnreadEditors *m_unread = nullptr;
};
