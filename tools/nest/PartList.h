// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "NestPart.h"
#include "PlotPipeline.h"

#include <QString>

#include <atomic>
#include <vector>

// What to nest, as people write it: FILE or FILE=QTY on the command line,
// or a list of lines FILE,QTY[,ROTATIONS] ('#' starts a comment; a relative
// FILE is taken from the list's folder). ROTATIONS, when given, replaces the
// default turns for that file: "0,180", "any:30".
//
// Everything is read and checked before any placing: a file that cannot be
// read, a quantity that is no whole number from 1 to MaxQuantity, or a
// rotation list that makes no sense refuses the whole nest, naming it.
struct PartRequest
{
    QString file;
    int quantity = 1;
    QString rotations;  // empty: the default
    QString where;      // "parts.csv:3" for a list line, the argument itself otherwise
};

struct PartDefaults
{
    Orientations orientations;   // mirror included
    bool split = false;          // each outer contour its own part
};

namespace PartList {

constexpr int MaxQuantity = 20000;

bool parseArgument(const QString &argument, PartRequest &out, QString &why);
bool readList(const QString &path, std::vector<PartRequest> &out, QString &why);

// The files read as `plan` reads them (the options' tolerance, tool rules
// and scale), made into parts. cancel stops a long read.
bool load(const std::vector<PartRequest> &requests, const PlotOptions &plot, const PartDefaults &defaults,
          std::vector<NestPart> &parts, QString &why, const std::atomic<bool> *cancel = nullptr);

} // namespace PartList
