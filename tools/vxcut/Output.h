// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

#include <cstdio>

// Everything vxcut tells the user. Human mode writes text (a redrawn bar on a
// terminal); JSON mode writes one compact object per line and nothing else on
// stdout, so scripts can parse every line.
class Output
{
public:
    explicit Output(bool json = false, FILE *out = stdout, FILE *err = stderr);

    bool json() const { return m_json; }
    void setJson(bool json) { m_json = json; }

    // Plain text for people; JSON mode drops it.
    void text(const QString &line);
    // A fact both modes show: text for people, the event for scripts.
    void event(const QString &kind, const QJsonObject &fields, const QString &human);
    void warning(const QString &message);
    // One job report. task: the Runtime-style fields; remainingSec < 0 = unknown.
    void progress(const QJsonObject &task, int remainingSec);
    // The link is down during a job: the bar line says so until the next report.
    void reconnecting(int attempt, int waitMs);
    // A status line people watch: redrawn in place on a terminal; in a log
    // written only when logStep changes. JSON mode drops it.
    void bar(const QString &line, const QString &logStep);
    // The run's one result line; only main writes it. Returns code.
    int result(int code, const QString &error = QString(), const QJsonObject &fields = QJsonObject());

    static QString duration(int seconds);

    Q_DECLARE_TR_FUNCTIONS(Output)

private:
    // One line of the bar: redrawn in place on a terminal (padding spaces
    // after it), a line of its own in a log.
    void draw(const QString &line, int padding);
    void writeJson(QJsonObject object);
    void endBar();

    bool m_json;
    FILE *m_out;
    FILE *m_err;
    bool m_tty;
    bool m_barOpen = false;
    QString m_lastBar;
    QString m_lastStep;
};
