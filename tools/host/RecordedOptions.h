// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotPipeline.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// The design options as a job record keeps them: every row of
// PlotOptionTable by its flag, the value as the row writes it ("90", "on"),
// and "tool" as the list of its rules in order (the first that matches
// wins, so the order is part of the option). Reading back goes through the
// same rows' setters, so a record plans exactly as the command line did.
namespace RecordedOptions {

QJsonObject of(const PlotOptions &options);
// The defaults with the record's values set; false with error naming the
// flag a value (or a flag this build does not know) would not take.
bool read(const QJsonObject &record, PlotOptions *out, QString *error);

struct Difference {
    QString flag;       // "rotate"
    QString recorded;   // as the row writes it
    QString given;
};
// The given flags whose value differs from the recorded one, in table order.
QList<Difference> compare(const PlotOptions &recorded, const PlotOptions &given, const QStringList &flags);

}
