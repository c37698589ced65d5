// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QTimer>

#include <functional>

// How often one kind of live message goes out for one machine. Leading
// edge: a change goes out at once, so a click shows without a wait; what
// follows within the window is folded into one send of the last state at
// the window's end, which opens the next window. A job's progress thus
// costs a page at most one message per window, whatever the machine's
// report rate.
struct FeedGate
{
    QTimer window;          // single-shot, the window's length; its timeout calls closed()
    bool pending = false;
    std::function<void()> send;

    void poke()
    {
        if (window.isActive())
            pending = true;
        else
            fire();
    }
    void closed()
    {
        if (pending)
            fire();
    }
    // Now, whatever the window: for what a person waits on.
    void fire()
    {
        pending = false;
        window.start();
        send();
    }
};
