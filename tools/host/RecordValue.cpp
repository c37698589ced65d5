// SPDX-License-Identifier: LGPL-2.1-or-later
#include "RecordValue.h"

#include "property/EditorDescription.h"
#include "property/VXDeviceProperty.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <cmath>

EditorSpec EditorSpec::of(const VXDeviceProperty *record)
{
    const VXEditorDescription d = VXEditorDescription::of(record);
    EditorSpec e;
    e.kind = d.kind();
    for (const QString &o : d.options())
        e.options << o.trimmed();
    e.factor = d.factor();
    e.hasFactor = d.hasFactor();
    e.min = d.minimum();
    e.max = d.maximum();
    e.hasBounds = d.hasBounds();
    return e;
}

namespace RecordValue {

namespace {

bool isNumeric(const QVariant &v)
{
    switch (v.userType()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Short: case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

QString number(double x, const QString &kind)
{
    if (kind == QLatin1String("QSpinBox"))
        return QString::number(qRound64(x));
    if (kind == QLatin1String("QDoubleSpinBox"))
        return QString::number(x, 'f', 3);
    // Twelve significant digits hide the binary noise of factors like 0.0001.
    return QString::number(x, 'g', 12);
}

}

QJsonObject widget(const VXDeviceProperty *record)
{
    return record->property("WIDGET").toJsonObject();
}

bool answerDecoded(const VXDeviceProperty *record)
{
    for (int n : {record->get_cmd_int(), record->set_cmd_int()}) {
        if (n == 27 || n == 125)
            return false;
    }
    return true;
}

bool isGroup(const VXDeviceProperty *record)
{
    return !record->members().isEmpty();
}

bool readable(const VXDeviceProperty *record)
{
    return !record->get_cmd_bytes().isEmpty();
}

bool writable(const VXDeviceProperty *record)
{
    const auto kind = record->cmd_type();
    return record->set_cmd_int() != 0
            && (kind == VXDeviceInterface::CMD || kind == VXDeviceInterface::CCMD);
}

QString shown(const VXDeviceProperty *record)
{
    return shown(record, record->value());
}

QString shown(const VXDeviceProperty *record, const QVariant &v)
{
    if (!v.isValid())
        return QString();
    const EditorSpec e = EditorSpec::of(record);
    if (e.combo()) {
        bool ok = false;
        const int index = v.toInt(&ok);
        if (ok && index >= 0 && index < e.options.size())
            return e.options.at(index);
        return v.toString();
    }
    switch (v.userType()) {
    case QMetaType::QByteArray:
        return QCoreApplication::translate("RecordValue", "<%n bytes>", nullptr, v.toByteArray().size());
    case QMetaType::QJsonObject:
        return QString::fromUtf8(QJsonDocument(v.toJsonObject()).toJson(QJsonDocument::Compact));
    case QMetaType::QStringList:
        return v.toStringList().join(QLatin1Char(','));
    case QMetaType::QDateTime:
        return v.toDateTime().toString(Qt::ISODate);
    default:
        break;
    }
    if (e.hasFactor || e.spin()) {
        bool ok = false;
        const double x = v.toDouble(&ok);
        if (ok)
            return number(x * e.factor, e.kind);
    }
    return v.toString();
}

QJsonValue shownJson(const VXDeviceProperty *record)
{
    const QVariant &v = record->value();
    if (!EditorSpec::of(record).combo() && isNumeric(v)) {
        bool ok = false;
        const double x = shown(record).toDouble(&ok);
        if (ok)
            return x;
    }
    return shown(record);
}

QString unit(const VXDeviceProperty *record, const VXDeviceProperty *group)
{
    if (!record->uint().isEmpty() || !group)
        return record->uint();
    return group->uint();
}

bool parse(const VXDeviceProperty *record, const QString &input, QVariant &stored, QString &error)
{
    const QString text = input.trimmed();
    const QVariant &current = record->value();
    const EditorSpec e = EditorSpec::of(record);

    if (e.combo()) {
        const QStringList &opts = e.options;
        bool ok = false;
        const int index = text.toInt(&ok);
        if (ok && index >= 0 && index < opts.size()) {
            stored = QVariant(current.userType() == QMetaType::Int ? QVariant(index) : QVariant(uint(index)));
            return true;
        }
        for (int i = 0; i < opts.size(); ++i) {
            if (opts.at(i).compare(text, Qt::CaseInsensitive) == 0) {
                stored = current.userType() == QMetaType::Int ? QVariant(i) : QVariant(uint(i));
                return true;
            }
        }
        QStringList choices;
        for (int i = 0; i < opts.size(); ++i)
            choices << QStringLiteral("%1 (%2)").arg(i).arg(opts.at(i));
        error = QCoreApplication::translate("RecordValue", "'%1' is not one of %2")
                    .arg(text, choices.join(QStringLiteral(", ")));
        return false;
    }

    if (!isNumeric(current) && current.userType() != QMetaType::UnknownType
            && !e.hasFactor) {
        if (current.userType() == QMetaType::QString) {
            stored = text;
            return true;
        }
        error = QCoreApplication::translate("RecordValue", "this record holds no value that can be typed");
        return false;
    }

    bool ok = false;
    const double x = text.toDouble(&ok);
    if (!ok || !std::isfinite(x)) {
        error = QCoreApplication::translate("RecordValue", "'%1' is not a number").arg(text);
        return false;
    }
    if (e.spin() && (x < e.min || x > e.max)) {
        // The bounds in the digits one types (read back as C numbers), not the locale's.
        error = QCoreApplication::translate("RecordValue", "%1 is outside %2..%3")
                    .arg(text, QString::number(e.min), QString::number(e.max));
        return false;
    }
    const double raw = x / e.factor;
    const auto type = current.userType();
    if (type == QMetaType::Double) {
        stored = raw;
        return true;
    }
    const qint64 word = qRound64(raw);
    // Multi-word values travel as 32-bit two's complement; an editor that
    // offers negatives means the machine takes a signed number.
    const bool signedWord = record->cmd_len() > 1 || type == QMetaType::Int
            || e.min < 0;
    if (signedWord) {
        if (word < INT_MIN || word > INT_MAX) {
            error = QCoreApplication::translate("RecordValue", "%1 does not fit the machine's word").arg(text);
            return false;
        }
        stored = int(word);
        return true;
    }
    if (word < 0 || word > UINT_MAX) {
        error = QCoreApplication::translate("RecordValue", "%1 is out of range (the machine stores 0..%2)")
                    .arg(text, QString::number(UINT_MAX));
        return false;
    }
    stored = uint(word);
    return true;
}

bool same(const QVariant &a, const QVariant &b)
{
    if (isNumeric(a) && isNumeric(b)) {
        // Multi-word readings come back as int; compare as 32-bit words.
        if (a.userType() != QMetaType::Double && b.userType() != QMetaType::Double)
            return quint32(a.toLongLong()) == quint32(b.toLongLong());
        return a.toDouble() == b.toDouble();
    }
    return a.toString() == b.toString();
}

}
