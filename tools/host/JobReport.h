// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QString>

// One job report as the machine sends it (CCMD 66), parsed once where the
// device session receives it:
//
//   66,status,file,copies,finished,percent,x,y,z[,copypercent]
//
// Older machines end at z; the file name never holds a comma. Numbers that
// do not read are -1 (unknown), never 0, so "no percent" is not "0 %".
// This is the host's one reading of the status numbers; the simulator keeps
// its own on purpose (it is the oracle the host is tested against).
struct JobReport
{
    enum class Status {
        None = 0,      // no job since power-up
        Cutting = 1,
        Paused = 2,
        Finished = 3,  // every copy cut
        Stopped = 4,   // stopped, or given up (the link dropped)
        Refused = 5,   // the plot could not be read; nothing cut
        SheetSkipped = 6, // QR-code job: the sheet under the camera leaves uncut
        WaitingPlot = 7,  // QR-code job: a code was reported, its plot awaited
        Unknown = -1,
    };

    Status status = Status::Unknown;
    QString file;          // the machine's job name ("job3.plt")
    int copies = -1;
    int finished = -1;
    int percent = -1;      // of all copies together
    int copyPercent = -1;  // of the copy (or sheet) under way; -1 when not sent
    QString raw;           // as received, for logs

    // False (and an Unknown report) for anything that is not a job report.
    static bool parse(const QString &item, JobReport *out);
    static JobReport fromItem(const QString &item)
    {
        JobReport r;
        parse(item, &r);
        return r;
    }

    bool isValid() const { return status != Status::Unknown; }
    // The machine is still at it: a report will follow without asking.
    bool active() const
    {
        return status == Status::Cutting || status == Status::Paused || status == Status::WaitingPlot
               || status == Status::SheetSkipped;
    }
    bool paused() const { return status == Status::Paused; }
    // Over, one way or another: nothing more comes of this job.
    bool ended() const
    {
        return status == Status::Finished || status == Status::Stopped || status == Status::Refused;
    }
    bool operator==(const JobReport &o) const { return raw == o.raw; }
    bool operator!=(const JobReport &o) const { return raw != o.raw; }
};
