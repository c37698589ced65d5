// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QtGlobal>

#include <atomic>

// What one read of a design may spend, tied to the size of its input, and
// the caller's cancel flag. Readers check it inside their loops (per point
// made, per entity or command visited, per insert expanded), never only
// after a command: a 36-byte arc of a billion turns or a 538-byte DXF of
// nested insert arrays must stop within the budget, not after it.
//
// Real drawings stay far inside: a file's bytes describe at most a few
// points each, curves flattened at 0.05 mm add a few hundred per byte at
// worst (128 per byte plus 2 Mi spare), and a reader visits each entity a
// few times unless inserts repeat it (256 steps per byte plus 4 Mi spare).
//
// The cancel flag is another thread's (vxcut's signal handler, vxstudio's
// Stop); it is read relaxed every 4096 steps, so checking costs nothing.
class ReadBudget
{
public:
    static constexpr qint64 PointAllowance = 2 << 20;
    static constexpr qint64 PointsPerByte = 128;
    static constexpr qint64 StepAllowance = 4 << 20;
    static constexpr qint64 StepsPerByte = 256;

    enum class Stop { None, Points, Steps, Cancelled };

    explicit ReadBudget(qint64 inputBytes = 0, const std::atomic<bool> *cancel = nullptr)
        : m_points(PointAllowance + PointsPerByte * qMax<qint64>(0, inputBytes)),
          m_steps(StepAllowance + StepsPerByte * qMax<qint64>(0, inputBytes)), m_cancel(cancel)
    {
    }

    qint64 pointLimit() const { return m_points; }
    qint64 stepLimit() const { return m_steps; }

    // False once the points held would pass the limit (the reader adds
    // what it already holds, so a document read into twice is bounded too).
    bool points(qint64 held)
    {
        if (held > m_points)
            m_stop = Stop::Points;
        return m_stop == Stop::None && !checkCancel();
    }
    // Counts n units of work; false once over the limit or cancelled.
    bool step(qint64 n = 1)
    {
        m_used += n;
        if (m_used > m_steps && m_stop == Stop::None)
            m_stop = Stop::Steps;
        if ((m_used & 4095) < n || n >= 4096)
            checkCancel();
        return m_stop == Stop::None;
    }
    bool cancelled() const { return m_stop == Stop::Cancelled; }
    Stop stopped() const { return m_stop; }

private:
    bool checkCancel()
    {
        if (m_stop == Stop::None && m_cancel && m_cancel->load(std::memory_order_relaxed))
            m_stop = Stop::Cancelled;
        return m_stop == Stop::Cancelled;
    }

    qint64 m_points;
    qint64 m_steps;
    qint64 m_used = 0;
    const std::atomic<bool> *m_cancel;
    Stop m_stop = Stop::None;
};
