// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXDeviceProperty.h"
#include "EditorDescription.h"

#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPair>
#include <QSpinBox>
#include <QTabWidget>
#include <QWidget>

#include <cmath>

namespace {

const char kWidget[] = "WIDGET";
const char kUiCtrl[] = "UI_CTRL";
const int kRowHeight = 28;
const int kDoubleDecimals = 3;

using Member = QPair<QByteArray, VXDeviceProperty *>;

// Same enumeration as members(), but the editors also need each member's key.
QList<Member> memberEntries(const VXDeviceProperty *group)
{
    QList<Member> result;
    const QList<QByteArray> names = group->dynamicPropertyNames();
    for (const QByteArray &name : names) {
        VXDeviceProperty *member = group->property_ptr(name.constData());
        // A group registered on itself would recurse forever.
        if (member && member != group)
            result.append(qMakePair(name, member));
    }
    return result;
}

QWidget *editorOf(const QObject *record)
{
    const QVariant v = record->property(kUiCtrl);
    if (v.userType() != QMetaType::VoidStar)
        return nullptr;
    return static_cast<QWidget *>(v.value<void *>());
}

void addToParent(QWidget *parent, QWidget *child)
{
    if (QLayout *layout = parent->layout())
        layout->addWidget(child);
    else
        child->setParent(parent);
}

// Nearest whole number: truncation would turn a stored 1 at factor 19/6 into 0.
int roundToInt(double v)
{
    return static_cast<int>(std::llround(v));
}

// A spin box with d decimals expresses steps of 10^-d; divided by the factor
// the stored value needs no finer steps than 10^-d / f. Rounding to that
// keeps 0.7 / 0.1 from becoming 6.999999999999999 in the command text.
double storedFromShown(double shown, double f, int decimals)
{
    const double q = shown / f;
    int places = static_cast<int>(std::ceil(decimals + std::log10(std::fabs(f)) - 1e-9));
    places = qBound(0, places, 15);
    const double scale = std::pow(10.0, places);
    const double r = std::round(q * scale) / scale;
    return std::isfinite(r) ? r + 0.0 : q; // + 0.0 turns -0 into 0
}

// 'g' with six significant digits: the text the line edits show and store.
QString gText(double v)
{
    return QStringLiteral("%1").arg(v, 0, 'g', -1);
}

// The host owns the editors and may delete them; drop the pointer then so a
// later fill or read-back skips the record instead of touching freed memory.
void watchEditor(VXDeviceProperty *record, QWidget *editor)
{
    QObject::connect(editor, &QObject::destroyed, record, [record, editor]() {
        if (editorOf(record) == editor)
            record->setProperty(kUiCtrl, QVariant());
    });
}

// What the editor shows, as a value: its number, its text or its index.
QVariant editorState(QWidget *editor)
{
    if (auto *spin = qobject_cast<QSpinBox *>(editor))
        return spin->value();
    if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
        return spin->value();
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        return combo->currentIndex();
    if (auto *label = qobject_cast<QLabel *>(editor))
        return label->text();
    return QVariant();
}

// Kept on the editor, not the record: a record has exactly its declared fields.
const char kFilled[] = "vx_filled";

// An editor clamps what it cannot show (PU_SPEED 0 under a minimum of 10,
// 700 pressure words over a maximum): unless the user changed it since the
// fill, reading it back would store and send a value nobody chose.
bool untouchedSinceFill(QWidget *editor)
{
    const QVariant filled = editor->property(kFilled);
    return filled.isValid() && filled == editorState(editor);
}

bool isNumeric(const QVariant &v)
{
    switch (v.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

} // namespace

void VXDeviceProperty::create_ui_ctrl(QWidget *parent, QString name, bool show_unit)
{
    if (!parent || !property(kWidget).isValid())
        return;
    const VXEditorDescription desc = VXEditorDescription::of(this);
    const QString kind = desc.kind();

    if (kind == QLatin1String("QTabWidget")) {
        // Every tab-kind record built into the same parent shares one tab widget.
        const QList<QTabWidget *> found = parent->findChildren<QTabWidget *>();
        QTabWidget *tabs = found.isEmpty() ? nullptr : found.first();
        if (!tabs) {
            tabs = new QTabWidget(parent);
            addToParent(parent, tabs);
        }
        auto *page = new QWidget;
        auto *pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(30, 10, 10, 30);
        pageLayout->setSpacing(12);
        for (const Member &m : memberEntries(this))
            m.second->create_ui_ctrl(page, QString::fromLatin1(m.first), true);
        setProperty(kUiCtrl, QVariant::fromValue(static_cast<void *>(page)));
        tabs->addTab(page, m_label);
        watchEditor(this, page);
        return;
    }

    auto *row = new QWidget;
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setSpacing(5);

    auto *caption = new QLabel(m_label);
    caption->setAlignment(Qt::AlignCenter);
    caption->setMinimumHeight(kRowHeight);
    rowLayout->addWidget(caption, 1);

    QWidget *editor = nullptr;
    if (kind == QLatin1String("QSpinBox")) {
        auto *spin = new QSpinBox;
        spin->setRange(int(desc.minimum()), int(desc.maximum()));
        spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
        spin->setAlignment(Qt::AlignCenter);
        spin->setMinimumHeight(kRowHeight);
        editor = spin;
    } else if (kind == QLatin1String("QDoubleSpinBox")) {
        auto *spin = new QDoubleSpinBox;
        spin->setDecimals(kDoubleDecimals);
        spin->setRange(desc.minimum(), desc.maximum());
        spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
        spin->setAlignment(Qt::AlignCenter);
        spin->setMinimumHeight(kRowHeight);
        editor = spin;
    } else if (kind == QLatin1String("QComboBox")) {
        auto *combo = new QComboBox;
        combo->addItems(desc.options());
        combo->setMinimumHeight(kRowHeight);
        combo->setView(new QListView);
        editor = combo;
    } else if (kind == QLatin1String("QLineEdit")) {
        auto *edit = new QLineEdit;
        edit->setAlignment(Qt::AlignCenter);
        edit->setMinimumHeight(kRowHeight);
        editor = edit;
    } else if (kind == QLatin1String("QLabel")) {
        auto *label = new QLabel;
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumHeight(kRowHeight);
        editor = label;
    } else if (kind == QLatin1String("QGroupBox")) {
        // A plain container: the members bring their own captions, no units.
        auto *container = new QWidget;
        new QHBoxLayout(container);
        for (const Member &m : memberEntries(this))
            m.second->create_ui_ctrl(container, QString::fromLatin1(m.first), false);
        editor = container;
    }

    if (editor) {
        editor->setObjectName(name);
        rowLayout->addWidget(editor, 3);
        setProperty(kUiCtrl, QVariant::fromValue(static_cast<void *>(editor)));
        watchEditor(this, editor);
    }
    if (show_unit)
        rowLayout->addWidget(new QLabel(m_unit), 1);
    addToParent(parent, row);
}

void VXDeviceProperty::to_ui_ctrl()
{
    QWidget *editor = editorOf(this);
    if (!editor || !property(kWidget).isValid())
        return;
    const VXEditorDescription desc = VXEditorDescription::of(this);
    const QString kind = desc.kind();
    const double f = desc.factor();

    if (kind == QLatin1String("QSpinBox")) {
        if (auto *spin = qobject_cast<QSpinBox *>(editor))
            spin->setValue(roundToInt(m_value.toInt() * f));
    } else if (kind == QLatin1String("QDoubleSpinBox")) {
        if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
            spin->setValue(m_value.toDouble() * f);
    } else if (kind == QLatin1String("QLineEdit")) {
        if (auto *edit = qobject_cast<QLineEdit *>(editor))
            edit->setText(f != 1.0 ? gText(m_value.toDouble() * f) : m_value.toString());
    } else if (kind == QLatin1String("QLabel")) {
        if (auto *label = qobject_cast<QLabel *>(editor))
            label->setText(m_value.toString());
    } else if (kind == QLatin1String("QComboBox")) {
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            combo->setCurrentIndex(roundToInt(m_value.toInt() * f));
    } else if (kind == QLatin1String("QGroupBox") || kind == QLatin1String("QTabWidget")) {
        for (const Member &m : memberEntries(this))
            m.second->to_ui_ctrl();
        return;
    }
    editor->setProperty(kFilled, editorState(editor));
}

void VXDeviceProperty::from_ui_ctrl()
{
    QWidget *editor = editorOf(this);
    if (!editor || !property(kWidget).isValid())
        return;
    const VXEditorDescription desc = VXEditorDescription::of(this);
    const QString kind = desc.kind();
    const double f = desc.factor();

    QVariant next;
    if (kind == QLatin1String("QSpinBox")) {
        if (auto *spin = qobject_cast<QSpinBox *>(editor))
            next = QVariant(roundToInt(spin->value() / f));
    } else if (kind == QLatin1String("QDoubleSpinBox")) {
        if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
            next = QVariant(storedFromShown(spin->value(), f, spin->decimals()));
    } else if (kind == QLatin1String("QLineEdit")) {
        if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
            const QString text = edit->text();
            const bool itemBody = m_cmd_type == VXDeviceInterface::CMD
                                  || m_cmd_type == VXDeviceInterface::CCMD
                                  || m_cmd_type == VXDeviceInterface::NUM;
            // Text that would split the command body is refused here too, so
            // the record keeps a value that can still be written.
            if (itemBody && breaksCommandBody(text))
                return;
            bool number = false;
            const double shown = text.toDouble(&number);
            // "1,5" is not a number: storing 0 would write a zero scale.
            if ((f != 1.0 || isNumeric(m_value)) && !number)
                return;
            next = QVariant(f != 1.0 ? gText(shown / f) : text);
        }
    } else if (kind == QLatin1String("QLabel")) {
        if (auto *label = qobject_cast<QLabel *>(editor))
            next = QVariant(label->text());
    } else if (kind == QLatin1String("QComboBox")) {
        auto *combo = qobject_cast<QComboBox *>(editor);
        // No selection (a value beyond the items) expresses no edit; storing
        // -1 would send a value nobody chose.
        if (combo && combo->currentIndex() >= 0)
            next = QVariant(roundToInt(combo->currentIndex() / f));
    } else if (kind == QLatin1String("QGroupBox") || kind == QLatin1String("QTabWidget")) {
        for (const Member &m : memberEntries(this))
            m.second->from_ui_ctrl();
        return;
    }
    if (!next.isValid())
        return;
    if (next != m_value && untouchedSinceFill(editor))
        return;
    setValue(next);
}
