// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QString>

#include <vector>

// The turns a part may take on the material: counter-clockwise angles in
// degrees, each also mirrored (left to right, before turning) only when the
// material may be cut from either face. A print or a grain allows fewer.
//
// Written "0,90,180,270", or "any:STEP" for every STEP degrees ("any" is
// every 15°). Bound: at most MaxAngles angles; each angle costs the
// placer a no-fit polygon per neighbour, so 1° steps would make a search of
// minutes out of one of seconds.
struct Orientation
{
    double degrees = 0;
    bool mirror = false;
};

class Orientations
{
public:
    static constexpr int MaxAngles = 72;
    static constexpr double DefaultStep = 15;

    Orientations() = default;
    // False with why for an empty list, an angle that is no number, a step
    // that does not divide into at most MaxAngles turns.
    static bool parse(const QString &text, Orientations &out, QString &why);

    void setMirror(bool allowed) { m_mirror = allowed; }
    bool mirror() const { return m_mirror; }
    const std::vector<double> &angles() const { return m_angles; }
    // Every allowed pose: the angles, then (mirror allowed) the same mirrored.
    std::vector<Orientation> list() const;
    bool allows(double degrees, bool mirrored) const;
    QString text() const;

private:
    std::vector<double> m_angles{0, 90, 180, 270};
    bool m_mirror = false;
};
