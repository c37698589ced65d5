// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ResumePlan.h"

#include <QLocale>

ResumePlan ResumePlan::make(int asked, int finished, int percent, Interrupted mode)
{
    ResumePlan p;
    if (asked < 1 || finished < 0 || percent > 100) {
        const QLocale locale;
        p.problem = tr("the job record is not consistent (%1 asked, %2 finished, %3 %)")
                        .arg(locale.toString(asked), locale.toString(finished), locale.toString(percent));
        return p;
    }
    p.remaining = qMax(0, asked - finished);
    if (p.remaining == 0)
        return p;
    if (percent == 0) {
        p.whole = p.remaining;
        return p;
    }
    if (percent == 100) {
        p.remaining -= 1;
        p.whole = p.remaining;
        return p;
    }
    switch (mode) {
    case RecutWhole:
        p.whole = p.remaining;
        break;
    case Leave:
        p.whole = p.remaining - 1;
        break;
    case Continue:
        if (percent < 0) {
            p.problem = tr("how far the interrupted copy got is not known: "
                           "re-cut it whole or leave it out");
            return p;
        }
        p.whole = p.remaining - 1;
        p.partial = true;
        p.fromPercent = percent;
        break;
    }
    return p;
}
