// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

class VXDeviceProperty;

// Editors of settings the machine has not answered yet. A new device object
// holds made-up values (a pen-up speed of 10, a pressure of 0) that an
// editor would show as if the machine had said them: until the machine's
// first answer the editor is disabled and says "not read". A setting whose
// answers the device object never decodes stays "not read" but editable
// (a combo box; other editors show what they hold) until the operator
// chooses: choosing a value is the operator's to do, showing one is not.
class UnreadEditors : public QObject
{
    Q_OBJECT
public:
    explicit UnreadEditors(QObject *parent = nullptr) : QObject(parent) {}

    // answeredBy: the record whose answer carries this one's value (itself,
    // or its group); null when no answer ever reaches it.
    void mark(VXDeviceProperty *record, QWidget *editor, VXDeviceProperty *answeredBy);
    void clear();
    // Waiting for the machine's first answer.
    bool isUnread(VXDeviceProperty *record) const { return m_editors.contains(record); }
    int count() const { return m_editors.size(); }

signals:
    // The editor is back to normal; the record now holds the machine's value.
    void answered(VXDeviceProperty *record);

private:
    void lift(VXDeviceProperty *record, int chosen = -1);

    struct Mark {
        QPointer<QWidget> editor;
        int extraItem = -1;   // a combo box's "not read" entry
        bool wasEnabled = true;
        QList<QMetaObject::Connection> watches;
    };
    QHash<VXDeviceProperty *, Mark> m_editors;
};
