// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotOptionsPanel.h"

#include "PlotOptionTable.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QLineEdit>

namespace {
QString fieldName(const PlotOptionTable::Row &row)
{
    return QStringLiteral("option-") + QLatin1String(row.flag);
}

// What an operator reads beside each field; the flag itself is vxcut's
// spelling and stays in the tooltip.
const struct {
    const char *flag;
    const char *label;
} Labels[] = {
    {"scale", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Scale (%)")},
    {"width", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Width (mm)")},
    {"height", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Height (mm)")},
    {"rotate", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Rotation (°)")},
    {"mirror", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Mirror")},
    {"margin", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Margin (mm)")},
    {"no-order", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Keep file order")},
    {"merge-overlaps", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Merge overlaps (mm)")},
    {"passes", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Passes")},
    {"overcut", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Overcut (mm)")},
    {"blade-offset", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Blade offset (mm)")},
    {"weed-border", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Weeding border (mm)")},
    {"tolerance", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Curve tolerance (mm)")},
    {"tool-order", QT_TRANSLATE_NOOP("PlotOptionsPanel", "Tool order")},
};

QString label(const PlotOptionTable::Row &row)
{
    for (const auto &l : Labels) {
        if (qstrcmp(l.flag, row.flag) == 0)
            return PlotOptionsPanel::tr(l.label);
    }
    // A new option shows up under its flag until it gets a label here.
    return QLatin1String(row.flag);
}

QString help(const PlotOptionTable::Row &row)
{
    return QStringLiteral("--%1: %2").arg(QLatin1String(row.flag),
                                          QCoreApplication::translate("PlotOptionTable", row.help));
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
        // Rules name the open design's sources: ToolsPanel offers them as
        // choices, a free text field would only invite typing errors.
        if (qstrcmp(row.flag, "tool") == 0)
            continue;
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
        field->setToolTip(help(row));
        form->addRow(label(row), field);
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
        edit->setToolTip(ok ? help(row) : help(row) + QLatin1Char('\n') + why);
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
