#pragma once

#include <QString>

// One job report as the device relays it in a DevTasK message:
// 66,status,file,copies,finished,percent,... (further fields not read).
struct JobReport
{
    int status = 0;
    QString fileName;
    int copies = 0;
    int finished = 0;
    int percent = 0;    // truncated toward zero, clamped to 0..100

    // False for texts that are not a job report.
    static bool parse(const QString &text, JobReport *report);
    // All copies cut: the point where the host closes the job.
    bool isComplete() const { return copies > 0 && finished >= copies && percent >= 100; }
};
