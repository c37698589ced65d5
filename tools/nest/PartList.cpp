// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PartList.h"

#include "PlotFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace PartList {

namespace {

bool quantityOf(const QString &text, const QString &where, int &out, QString &why)
{
    bool ok = false;
    const int q = text.trimmed().toInt(&ok);
    if (!ok || q < 1 || q > MaxQuantity) {
        why = QCoreApplication::translate("PartList", "%1: the quantity '%2' is no whole number from 1 to %3")
                  .arg(where, text.trimmed()).arg(MaxQuantity);
        return false;
    }
    out = q;
    return true;
}

} // namespace

bool parseArgument(const QString &argument, PartRequest &out, QString &why)
{
    out = PartRequest();
    out.where = argument;
    const int eq = argument.lastIndexOf(QLatin1Char('='));
    // A file whose name holds '=' is still a file.
    if (eq < 0 || QFileInfo::exists(argument)) {
        out.file = argument;
        return true;
    }
    out.file = argument.left(eq);
    return quantityOf(argument.mid(eq + 1), argument, out.quantity, why);
}

bool readList(const QString &path, std::vector<PartRequest> &out, QString &why)
{
    QFile f(path);
    // A list is a few lines per part; a huge file is not one.
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text) || f.size() > (qint64(4) << 20)) {
        why = QCoreApplication::translate("PartList", "cannot read the part list %1: %2")
                  .arg(path, f.isOpen() ? QCoreApplication::translate("PartList", "larger than 4 MiB") : f.errorString());
        return false;
    }
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        PartRequest r;
        r.where = QStringLiteral("%1:%2").arg(QFileInfo(path).fileName()).arg(n + 1);
        const QStringList fields = line.split(QLatin1Char(','));
        if (fields.size() < 2) {
            why = QCoreApplication::translate("PartList", "%1: wants FILE,QUANTITY[,ROTATIONS]").arg(r.where);
            return false;
        }
        r.file = folder.filePath(fields[0].trimmed());
        if (!quantityOf(fields[1], r.where, r.quantity, why))
            return false;
        r.rotations = fields.mid(2).join(QLatin1Char(',')).trimmed();
        out.push_back(r);
    }
    if (out.empty()) {
        why = QCoreApplication::translate("PartList", "the part list %1 names no parts").arg(path);
        return false;
    }
    return true;
}

bool load(const std::vector<PartRequest> &requests, const PlotOptions &plot, const PartDefaults &defaults,
          std::vector<NestPart> &parts, QString &why, const std::atomic<bool> *cancel)
{
    PlotPlacement scale;
    scale.scalePercent = plot.placement.scalePercent;
    for (const PartRequest &r : requests) {
        Orientations turns = defaults.orientations;
        if (!r.rotations.isEmpty()) {
            QString bad;
            if (!Orientations::parse(r.rotations, turns, bad)) {
                why = QStringLiteral("%1: %2").arg(r.where, bad);
                return false;
            }
            turns.setMirror(defaults.orientations.mirror());
        }
        PlotFile reader;
        reader.setCancelFlag(cancel);
        PlotDocument doc;
        if (!reader.readFile(r.file, doc, plot.chordTolerance)) {
            why = reader.error().contains(r.file) ? reader.error() : QStringLiteral("%1: %2").arg(r.file, reader.error());
            return false;
        }
        plot.tools.apply(doc);
        scale.shape(doc);
        const std::size_t first = parts.size();
        if (!NestParts::fromDocument(doc, QFileInfo(r.file).fileName(), defaults.split, parts, why))
            return false;
        for (std::size_t p = first; p < parts.size(); ++p) {
            parts[p].quantity = r.quantity;
            parts[p].orientations = turns;
        }
    }
    return true;
}

} // namespace PartList
