// SPDX-License-Identifier: LGPL-2.1-or-later
#include "UnreadEditors.h"

#include "property/RecordAnswer.h"
#include "property/VXDeviceProperty.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStandardItemModel>

namespace {

// The index of a combo box's added entry; -1 for other editors.
int showNotRead(QWidget *editor)
{
    const QString text = UnreadEditors::tr("not read");
    // A spin box has no empty state: its minimum stands for it, worded.
    if (auto *spin = qobject_cast<QSpinBox *>(editor)) {
        spin->setSpecialValueText(text);
        spin->setValue(spin->minimum());
    } else if (auto *dspin = qobject_cast<QDoubleSpinBox *>(editor)) {
        dspin->setSpecialValueText(text);
        dspin->setValue(dspin->minimum());
    } else if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        // Qt 5 draws no placeholder on a combo box: an entry nobody can pick says it.
        combo->addItem(text);
        const int extra = combo->count() - 1;
        if (auto *model = qobject_cast<QStandardItemModel *>(combo->model()))
            model->item(extra)->setEnabled(false);
        combo->setCurrentIndex(extra);
        return extra;
    } else if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        edit->clear();
        edit->setPlaceholderText(text);
    } else if (auto *label = qobject_cast<QLabel *>(editor)) {
        label->setText(text);
    }
    return -1;
}

} // namespace

void UnreadEditors::mark(VXDeviceProperty *record, QWidget *editor, VXDeviceProperty *answeredBy)
{
    if (!record || !editor || m_editors.contains(record))
        return;
    auto *combo = qobject_cast<QComboBox *>(editor);
    // Never answered and no empty state of its own: it shows what it holds.
    if (!answeredBy && !combo)
        return;
    Mark m;
    m.editor = editor;
    m.wasEnabled = editor->isEnabled();
    m.extraItem = showNotRead(editor);
    if (answeredBy) {
        editor->setEnabled(false);
        for (VXDeviceProperty *r : {record, answeredBy}) {
            m.watches << connect(VXRecordAnswer::of(r), &VXRecordAnswer::answered, this,
                                 [this, record] { lift(record); });
        }
    } else {
        // Any pick, the operator's or a program's: the entry is no value.
        const int extra = m.extraItem;
        m.watches << connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                             [this, record, extra](int index) {
                                 if (index >= 0 && index != extra)
                                     lift(record, index);
                             });
    }
    m_editors.insert(record, m);
}

// chosen: the operator's pick (the record keeps its value until written);
// -1: the machine answered, the editor shows the record.
void UnreadEditors::lift(VXDeviceProperty *record, int chosen)
{
    const auto it = m_editors.find(record);
    if (it == m_editors.end())
        return;
    const Mark m = *it;
    m_editors.erase(it);
    for (const QMetaObject::Connection &c : m.watches)
        disconnect(c);
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(m.editor.data()))
        spin->setSpecialValueText(QString());
    if (auto *combo = qobject_cast<QComboBox *>(m.editor.data()); combo && m.extraItem >= 0) {
        combo->removeItem(m.extraItem);
        combo->setCurrentIndex(chosen);
    }
    if (m.editor)
        m.editor->setEnabled(m.wasEnabled);
    if (chosen < 0)
        record->to_ui_ctrl();
    emit answered(record);
}

void UnreadEditors::clear()
{
    for (const Mark &m : qAsConst(m_editors)) {
        for (const QMetaObject::Connection &c : m.watches)
            disconnect(c);
    }
    m_editors.clear();
}
