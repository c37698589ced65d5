// SPDX-License-Identifier: LGPL-2.1-or-later
#include "EditorDescription.h"

#include <QObject>
#include <QVariant>

#include <cmath>

VXEditorDescription::VXEditorDescription(const QJsonObject &d)
    : m_kind(d.value(QLatin1String("widget")).toString())
{
    const QJsonValue factor = d.value(QLatin1String("factor"));
    m_hasFactor = !factor.isUndefined();
    const double f = factor.toDouble(1.0);
    m_factor = (f == 0.0 || !std::isfinite(f)) ? 1.0 : f;

    const QJsonValue min = d.value(QLatin1String("min"));
    const QJsonValue max = d.value(QLatin1String("max"));
    m_hasBounds = !min.isUndefined() || !max.isUndefined();
    if (m_kind == QLatin1String("QSpinBox")) {
        // QJsonValue::toInt falls back on a fraction: 10.5 is no bound at all.
        m_min = min.toInt(0);
        m_max = max.toInt(1000);
    } else if (m_kind == QLatin1String("QDoubleSpinBox")) {
        m_min = min.toDouble(0.0);
        m_max = max.toDouble(0.0);
    }
    if (isCombo()) {
        // Empty parts stay: an option text ending in ";" has an empty last item.
        m_options = d.value(QLatin1String("option")).toString()
                        .split(QLatin1Char(';'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    }
}

VXEditorDescription VXEditorDescription::of(const QObject *record)
{
    return record ? VXEditorDescription(record->property("WIDGET").toJsonObject()) : VXEditorDescription();
}

bool VXEditorDescription::isCombo() const
{
    return m_kind == QLatin1String("QComboBox");
}

bool VXEditorDescription::isSpin() const
{
    return m_kind == QLatin1String("QSpinBox") || m_kind == QLatin1String("QDoubleSpinBox");
}
