// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/vxdevice_global.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

class QObject;

/// A record's "WIDGET" object read once: the editor kind, the factor between
/// the stored word and the number shown, the bounds and the option texts.
/// The editors the device builds and any host showing or checking values
/// read it through here, so both see one factor and one range.
class VXDEVICE_EXPORT VXEditorDescription
{
public:
    VXEditorDescription() = default;
    explicit VXEditorDescription(const QJsonObject &description);
    /// The description of record (its "WIDGET" property); empty when none.
    static VXEditorDescription of(const QObject *record);

    bool isEmpty() const { return m_kind.isEmpty(); }
    /// "QSpinBox", "QDoubleSpinBox", "QComboBox", "QLineEdit", ...
    QString kind() const { return m_kind; }
    bool isCombo() const;
    bool isSpin() const;
    /// shown = stored * factor. A missing, zero or non-finite factor is 1:
    /// the read-back divides by it.
    double factor() const { return m_factor; }
    bool hasFactor() const { return m_hasFactor; }
    /// The spin box range. Whole-number boxes take only whole bounds
    /// (0..1000 otherwise), decimal boxes 0..0 unless given; other kinds
    /// have none.
    double minimum() const { return m_min; }
    double maximum() const { return m_max; }
    bool hasBounds() const { return m_hasBounds; }
    /// The choices of a combo box, by index, as the box lists them.
    QStringList options() const { return m_options; }

private:
    QString m_kind;
    QStringList m_options;
    double m_factor = 1.0;
    double m_min = 0.0;
    double m_max = 0.0;
    bool m_hasFactor = false;
    bool m_hasBounds = false;
};
