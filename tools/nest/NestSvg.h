// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "NestLayout.h"

#include <QByteArray>

// A picture of a nest for people: the strip (or each sheet, side by side)
// outlined, every piece filled with its holes open and its cut lines drawn,
// and the utilisation written under it. Millimetres as user units, y
// flipped so the strip's start is at the bottom as on the machine.
namespace NestSvg {

QByteArray write(const NestLayout &layout, const std::vector<NestPart> &parts);

} // namespace NestSvg
