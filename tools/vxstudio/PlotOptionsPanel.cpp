// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotOptionsPanel.h"

#include "PlotOptionTable.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>

namespace {
QString fieldName(const PlotOptionTable::Row &row)
{
    return QStringLiteral("option-") + QLatin1String(row.flag);
}
}

PlotOptionsPanel::PlotOptionsPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    int count = 0;
    const PlotOptionTable::Row *rows = PlotOptionTable::rows(&count);
    for (int i = 0; i < count; ++i) {
        const PlotOptionTable::Row &row = rows[i];
        const QString label = QLatin1String(row.flag);
        QWidget *field = nullptr;
        if (row.argument) {
            auto *edit = new QLineEdit(row.current(m_options), this);
            edit->setPlaceholderText(QLatin1String(row.argument));
            // Edits land when finished, not on every key: "1" on the way to
            // "100" would re-plan the design at one percent.
            connect(edit, &QLineEdit::editingFinished, this, &PlotOptionsPanel::rebuild);
            field = edit;
        } else {
            auto *box = new QCheckBox(this);
            connect(box, &QCheckBox::toggled, this, &PlotOptionsPanel::rebuild);
            field = box;
        }
        field->setObjectName(fieldName(row));
        field->setToolTip(QLatin1String(row.help));
        form->addRow(label, field);
    }
}

void PlotOptionsPanel::rebuild()
{
    // From the defaults each time: a switch turned off has no setter of its own.
    PlotOptions built;
    QString firstError;
    int count = 0;
    const PlotOptionTable::Row *rows = PlotOptionTable::rows(&count);
    for (int i = 0; i < count; ++i) {
        const PlotOptionTable::Row &row = rows[i];
        QWidget *field = findChild<QWidget *>(fieldName(row));
        if (auto *box = qobject_cast<QCheckBox *>(field)) {
            if (box->isChecked())
                row.set(built, QString(), nullptr);
            continue;
        }
        auto *edit = qobject_cast<QLineEdit *>(field);
        if (!edit)
            continue;
        QString why;
        const bool ok = row.set(built, edit->text().trimmed(), &why);
        edit->setStyleSheet(ok ? QString() : QStringLiteral("QLineEdit { background: #fdd; }"));
        edit->setToolTip(ok ? QLatin1String(row.help) : QLatin1String(row.help) + QLatin1Char('\n') + why);
        if (!ok && firstError.isEmpty())
            firstError = QStringLiteral("%1 %2").arg(QLatin1String(row.flag), why);
    }
    m_error = firstError;
    if (!m_error.isEmpty())
        return;
    // Leaving a field unchanged finishes its edit too; a re-plan of a big
    // design is not free.
    QString was, now;
    for (int i = 0; i < count; ++i) {
        was += rows[i].current(m_options) + QLatin1Char(';');
        now += rows[i].current(built) + QLatin1Char(';');
    }
    m_options = built;
    if (was != now)
        emit optionsChanged(m_options);
}
