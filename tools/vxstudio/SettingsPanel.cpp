// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SettingsPanel.h"

#include "DeviceSession.h"
#include "RecordValue.h"
#include "UnreadEditors.h"

#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QScrollArea *scrollFor(QWidget *parent)
{
    auto *scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

} // namespace

SettingsPanel::SettingsPanel(QWidget *parent)
    : QWidget(parent)
{
    // The window's docks name the two boxes.
    auto *settingsBox = new QGroupBox(this);
    settingsBox->setFlat(true);
    m_settingsScroll = scrollFor(settingsBox);
    m_read = new QPushButton(tr("Read from machine"), settingsBox);
    m_read->setObjectName(QStringLiteral("readSettings"));
    m_write = new QPushButton(tr("Write to machine"), settingsBox);
    m_write->setObjectName(QStringLiteral("writeSettings"));
    m_writeStatus = new QLabel(settingsBox);
    m_writeStatus->setObjectName(QStringLiteral("writeStatus"));
    m_writeStatus->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_read);
    buttons->addWidget(m_write);
    buttons->addWidget(m_writeStatus, 1);
    auto *settingsLayout = new QVBoxLayout(settingsBox);
    settingsLayout->addWidget(m_settingsScroll, 1);
    settingsLayout->addLayout(buttons);

    m_infoBox = new QGroupBox(this);
    static_cast<QGroupBox *>(m_infoBox)->setFlat(true);
    m_infoScroll = scrollFor(m_infoBox);
    auto *infoLayout = new QVBoxLayout(m_infoBox);
    infoLayout->addWidget(m_infoScroll);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(settingsBox, 3);
    layout->addWidget(m_infoBox, 2);

    connect(m_read, &QPushButton::clicked, this, &SettingsPanel::readFromMachine);
    connect(m_write, &QPushButton::clicked, this, &SettingsPanel::writeToMachine);

    // Replies are decoded into the records silently (no signal), so the
    // editors follow by comparing values on a short beat.
    m_sync.setInterval(150);
    connect(&m_sync, &QTimer::timeout, this, &SettingsPanel::syncEditors);
    m_sync.start();
    m_unread = new UnreadEditors(this);
    connect(m_unread, &UnreadEditors::answered, this, [this](VXDeviceProperty *r) { m_shown.insert(r, r->value()); });

    setSession(nullptr);
}

void SettingsPanel::collect(VXDeviceProperty *record, QList<VXDeviceProperty *> *out)
{
    if (!record || out->contains(record))
        return;
    out->append(record);
    const QList<VXDeviceProperty *> members = record->members();
    for (VXDeviceProperty *m : members)
        collect(m, out);
}

void SettingsPanel::buildInto(QWidget *area, const QStringList &keys,
                              QList<VXDeviceProperty *> *top)
{
    for (const QString &key : keys) {
        // The lists may name keys this model never built; skip them quietly.
        VXDeviceProperty *record = m_device->property_ptr(key.toLatin1().constData());
        if (!record || top->contains(record))
            continue;
        top->append(record);
        record->create_ui_ctrl(area, key, true);
    }
    static_cast<QVBoxLayout *>(area->layout())->addStretch(1);
}

void SettingsPanel::clear()
{
    if (m_device) {
        for (VXDeviceProperty *r : qAsConst(m_allRecords))
            disconnect(r, nullptr, this, nullptr);
        disconnect(m_device, nullptr, this, nullptr);
    }
    m_device = nullptr;
    m_userTop.clear();
    m_userAll.clear();
    m_allRecords.clear();
    m_shown.clear();
    m_unread->clear();
    m_writeStatus->clear();

    // Fresh areas: the records' editor pointers must never meet widgets of a
    // previous device.
    delete m_settingsScroll->takeWidget();
    delete m_infoScroll->takeWidget();
    m_userArea = new QWidget;
    m_userArea->setObjectName(QStringLiteral("userArea"));
    new QVBoxLayout(m_userArea);
    m_infoArea = new QWidget;
    m_infoArea->setObjectName(QStringLiteral("infoArea"));
    new QVBoxLayout(m_infoArea);
    m_settingsScroll->setWidget(m_userArea);
    m_infoScroll->setWidget(m_infoArea);
}

void SettingsPanel::setSession(DeviceSession *session)
{
    clear();
    m_session = session;
    VXDeviceInterface *device = session ? session->device() : nullptr;
    m_device = device;
    m_read->setEnabled(device);
    m_write->setEnabled(device);
    if (!device)
        return;
    // Deleted behind our back: forget the records before anything touches them.
    connect(device, &QObject::destroyed, this, [this] {
        m_userTop.clear();
        m_userAll.clear();
        m_allRecords.clear();
        m_shown.clear();
    });

    buildInto(m_userArea, device->userProperty(), &m_userTop);
    for (VXDeviceProperty *r : qAsConst(m_userTop))
        collect(r, &m_userAll);
    // A record has one editor: one the user list already built stays there.
    QList<VXDeviceProperty *> infoTop = m_userAll;
    buildInto(m_infoArea, device->sysProperty(), &infoTop);
    infoTop = infoTop.mid(m_userAll.size());

    // Machine information is shown, not edited.
    for (QLineEdit *e : m_infoArea->findChildren<QLineEdit *>())
        e->setReadOnly(true);
    for (QAbstractSpinBox *e : m_infoArea->findChildren<QAbstractSpinBox *>())
        e->setReadOnly(true);
    for (QComboBox *e : m_infoArea->findChildren<QComboBox *>())
        e->setEnabled(false);

    m_allRecords = m_userAll;
    for (VXDeviceProperty *r : qAsConst(infoTop))
        collect(r, &m_allRecords);

    for (VXDeviceProperty *r : qAsConst(m_allRecords)) {
        connect(r, &VXDeviceProperty::retStatus, this, [this, r](int ret) {
            const QString text = tr("%1: machine answered %2").arg(r->label().trimmed()).arg(ret);
            m_writeStatus->setText(text);
            emit logMessage(text);
        });
        r->to_ui_ctrl();
        m_shown.insert(r, r->value());
    }
    for (const QString &key : device->userProperty() + device->sysProperty())
        markUnread(device->property_ptr(key.toLatin1().constData()), key);
}

// Keys name the editors: the top records by the device's lists, members by
// the names their group holds them under.
void SettingsPanel::markUnread(VXDeviceProperty *record, const QString &key)
{
    if (!record)
        return;
    if (!record->members().isEmpty()) {
        for (const QByteArray &name : record->dynamicPropertyNames())
            markUnread(record->property_ptr(name.constData()), QString::fromLatin1(name));
        return;
    }
    QWidget *w = editor(key);
    VXDeviceProperty *via = m_session->readVia(record);
    if (!w || !RecordValue::readable(via))
        return;   // nothing the machine is asked for: the value is the plugin's own
    m_unread->mark(record, w, RecordValue::answerDecoded(via) ? via : nullptr);
}

int SettingsPanel::unreadCount() const
{
    return m_unread->count();
}

QTabWidget *SettingsPanel::tabs() const
{
    return m_userArea ? m_userArea->findChild<QTabWidget *>() : nullptr;
}

QWidget *SettingsPanel::editor(const QString &key) const
{
    // The information rows may live elsewhere in the window.
    QWidget *w = m_userArea->findChild<QWidget *>(key);
    return w ? w : m_infoArea->findChild<QWidget *>(key);
}

void SettingsPanel::syncEditors()
{
    if (!m_device)
        return;
    for (VXDeviceProperty *r : qAsConst(m_allRecords)) {
        const QVariant now = r->value();
        auto shown = m_shown.find(r);
        // QVariant equality as the records use it: 0u and 0 are the same.
        if (shown != m_shown.end() && *shown == now)
            continue;
        // A record awaiting its answer holds a marker, not a value.
        if ((m_session && m_session->awaitingAnswer(r)) || m_unread->isUnread(r))
            continue;
        m_shown.insert(r, now);
        if (r->members().isEmpty())
            r->to_ui_ctrl();
    }
}

void SettingsPanel::readFromMachine()
{
    if (!m_device)
        return;
    if (!m_session || !m_session->linkUp()) {
        m_writeStatus->setText(tr("Not connected: nothing read."));
        emit logMessage(m_writeStatus->text());
        return;
    }
    int sent = 0;
    for (VXDeviceProperty *r : qAsConst(m_allRecords)) {
        const QByteArray frame = r->get_cmd_bytes();
        if (frame.isEmpty())
            continue;
        m_device->sendCMD(frame);
        ++sent;
    }
    emit logMessage(tr("Read from machine: %n queries sent.", nullptr, sent));
}

void SettingsPanel::writeToMachine()
{
    if (!m_device)
        return;
    // Offline, reading the editors back would consume the edits: the next
    // write would find nothing changed.
    if (!m_session || !m_session->linkUp()) {
        m_writeStatus->setText(tr("Not connected: nothing written."));
        emit logMessage(m_writeStatus->text());
        return;
    }

    QHash<VXDeviceProperty *, QVariant> before;
    QSet<VXDeviceProperty *> notified;
    QList<QMetaObject::Connection> watches;
    for (VXDeviceProperty *r : qAsConst(m_userAll)) {
        before.insert(r, r->value());
        watches << connect(r, &VXDeviceProperty::valueChanged, this,
                           [&notified, r] { notified.insert(r); });
    }
    // Leaf by leaf, as a group would, but an editor still saying "not read"
    // holds no value anyone chose.
    for (VXDeviceProperty *r : qAsConst(m_userAll)) {
        if (r->members().isEmpty() && !m_unread->isUnread(r))
            r->from_ui_ctrl();
    }
    for (const QMetaObject::Connection &c : qAsConst(watches))
        disconnect(c);
    // The editors show exactly the read-back values now; a reply landing
    // before the next sync must still count as a change.
    for (VXDeviceProperty *r : qAsConst(m_userAll))
        m_shown.insert(r, r->value());

    // valueChanged alone misses an edit back to the record's previous value,
    // which is stored silently; compare with the value before read-back too.
    QList<VXDeviceProperty *> changed;
    for (VXDeviceProperty *r : qAsConst(m_userAll)) {
        if (!notified.contains(r) && before.value(r) == r->value())
            continue;
        if (r->set_cmd_bytes().isEmpty())
            continue;
        changed << r;
    }
    if (changed.isEmpty()) {
        m_writeStatus->setText(tr("Nothing changed: nothing written."));
        emit logMessage(m_writeStatus->text());
        return;
    }
    m_confirmed.clear();
    m_failed.clear();
    m_writesPending = changed.size();
    m_writeStatus->setText(tr("Writing: %1").arg(QLocale().toString(m_writesPending)));
    for (VXDeviceProperty *r : qAsConst(changed)) {
        const QString label = r->label().trimmed();
        const QString typed = RecordValue::shown(r, r->value());
        DeviceWrite *w = m_session->write(r, r->value());
        connect(w, &DeviceWrite::done, this, [this, w, label, typed] {
            w->deleteLater();
            const Failure f = w->failure(label, typed);
            if (f)
                m_failed << f.message;
            else
                m_confirmed << label;
            if (--m_writesPending == 0)
                showWriteResults();
        });
    }
}

void SettingsPanel::showWriteResults()
{
    // The editors follow the values the machine reported back.
    syncEditors();
    const QString text = m_failed.isEmpty()
            ? tr("Written: %1").arg(QLocale().createSeparatedList(m_confirmed))
            : tr("Not written: %1").arg(m_failed.join(QStringLiteral("; ")));
    m_writeStatus->setText(text);
    emit logMessage(text);
}
