// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "DxfGeometry.h"

#include <QString>

class dimeEntity;
class dimeRecordHolder;

// Drawing one DXF entity (never an INSERT: DxfWalk expands those) with the
// pen, which already maps block coordinates to millimetres. The kinds are
// the rows of the table in DxfEntities.cpp; a kind that is not there and
// draws something is refused by name and handle.
enum class DxfDrawn {
    Cut,     // drew its paths (none when it was degenerate: zero radius, one point)
    Nothing, // carries no cut geometry (POINT, ATTDEF, VIEWPORT, ...)
    Refused, // *why says which entity and why
};

DxfDrawn dxfDrawEntity(DxfPen &pen, dimeEntity *entity, QString *why);

// "#rrggbb" for an AutoCAD colour index 1..255: the nine named colours as
// CAD shows them, the rest from libdime's palette.
QString dxfIndexColour(int index);

// A true colour (group code 420, 0x00rrggbb) as "#rrggbb"; false when none.
bool dxfTrueColour(const dimeRecordHolder *holder, QString *colour);

// The entity's handle (group code 5) for messages; empty when it has none.
QString dxfHandle(const dimeEntity *entity);
