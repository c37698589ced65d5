// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "NestSearchRun.h"
#include "WorkArea.h"

#include <QJsonObject>
#include <QString>

// A queue entry's nest read as `vxcut cut --nest` reads its arguments: the
// part files with their quantities, the design options they are read with,
// the gap, the allowed turns, the search time, and the strip: as wide as
// asked, or as the work area less the margin.
//
// The nest object: {"parts": [{"file", "name", "quantity"}], "gap" (mm,
// default 2), "turns" ("0,90,180,270", "any:15"), "time_s" (default 10),
// "strip_width" (mm; absent: the work area's)}.
namespace ShopNest {

constexpr int MaxParts = 200;
constexpr double MaxSeconds = 600;

// "gap", "turns", "time_s", "strip_width".
bool isOption(const QString &key);

// The search the entry asks for; false with why (no parts, a quantity that
// is no whole number from 1 to PartList::MaxQuantity, an option out of
// range, design options that contradict a nest). Reads no file.
bool job(const QJsonObject &nest, const QJsonObject &options, const WorkArea &area, NestSearchJob *out,
         QString *why);

// The part files read and every piece checked against the strip and the
// work area (unknown: not checked), before any search; false with why.
bool check(const NestSearchJob &job, const WorkArea &area, QString *why);

// A reader's sentence with the stored files named as the person named them.
QString named(QString text, const NestSearchJob &job);

}
