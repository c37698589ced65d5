// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Output.h"

#include <QJsonDocument>
#include <QLocale>

#include <unistd.h>

Output::Output(bool json, FILE *out, FILE *err)
    : m_json(json), m_out(out), m_err(err), m_tty(isatty(fileno(out)) == 1)
{
}

void Output::writeJson(QJsonObject object)
{
    const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact);
    fwrite(line.constData(), 1, size_t(line.size()), m_out);
    fputc('\n', m_out);
    fflush(m_out);
}

void Output::endBar()
{
    if (m_barOpen) {
        fputc('\n', m_out);
        m_barOpen = false;
        m_lastBar.clear();
    }
}

void Output::text(const QString &line)
{
    if (m_json)
        return;
    endBar();
    const QByteArray bytes = line.toLocal8Bit();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
    fputc('\n', m_out);
    fflush(m_out);
}

void Output::event(const QString &kind, const QJsonObject &fields, const QString &human)
{
    if (m_json) {
        QJsonObject object = fields;
        object.insert(QStringLiteral("event"), kind);
        writeJson(object);
    } else if (!human.isEmpty()) {
        text(human);
    }
}

void Output::warning(const QString &message)
{
    if (m_json) {
        writeJson({{QStringLiteral("event"), QStringLiteral("warning")},
                   {QStringLiteral("message"), message}});
        return;
    }
    endBar();
    fprintf(m_err, "vxcut: %s\n", tr("warning: %1").arg(message).toLocal8Bit().constData());
    fflush(m_err);
}

QString Output::duration(int seconds)
{
    if (seconds < 0)
        return QStringLiteral("--:--");
    // Clock digits in the reader's numerals; the separators are a clock's.
    const QLocale locale;
    const auto two = [&](int n) { return locale.toString(n).rightJustified(2, locale.zeroDigit()); };
    if (seconds >= 3600)
        return QStringLiteral("%1:%2:%3").arg(locale.toString(seconds / 3600), two((seconds / 60) % 60), two(seconds % 60));
    return QStringLiteral("%1:%2").arg(two(seconds / 60), two(seconds % 60));
}

void Output::progress(const QJsonObject &task, int remainingSec)
{
    if (m_json) {
        QJsonObject object = task;
        object.insert(QStringLiteral("event"), QStringLiteral("progress"));
        object.insert(QStringLiteral("Remaining"), remainingSec);
        writeJson(object);
        return;
    }
    const int percent = qBound(0, task.value(QStringLiteral("Percent")).toInt(), 100);
    const int copies = task.value(QStringLiteral("TaskCopies")).toInt();
    const int finished = task.value(QStringLiteral("Finished")).toInt();
    constexpr int width = 30;
    const int filled = percent * width / 100;
    const QLocale locale;
    const QString line = QStringLiteral("[%1%2] ").arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char('-')))
            + tr("%1%  copies %2/%3  %4 left")
                      .arg(locale.toString(percent).rightJustified(3), locale.toString(finished),
                           locale.toString(copies), duration(remainingSec));
    // Logs get a line per tenth, per copy and at the end, not one per percent.
    bar(line, QStringLiteral("%1/%2/%3").arg(percent / 10).arg(finished).arg(copies));
}

void Output::reconnecting(int attempt, int waitMs)
{
    if (m_json) {
        writeJson({{QStringLiteral("event"), QStringLiteral("reconnecting")},
                   {QStringLiteral("attempt"), attempt},
                   {QStringLiteral("wait_ms"), waitMs}});
        return;
    }
    const QString bar = tr("%1 reconnecting (attempt %2)")
            .arg(m_lastBar.isEmpty() ? tr("link lost:") : m_lastBar.section(QLatin1Char(']'), 0, 0) + QLatin1Char(']'))
            .arg(QLocale().toString(attempt));
    draw(bar, 10);
    // The next report redraws the bar even if nothing moved meanwhile.
    m_lastBar = bar;
    m_lastStep.clear();
}

void Output::bar(const QString &line, const QString &logStep)
{
    if (m_json || line == m_lastBar)
        return;
    m_lastBar = line;
    if (!m_tty && logStep == m_lastStep)
        return;
    m_lastStep = logStep;
    draw(line, 3);
}

void Output::draw(const QString &line, int padding)
{
    const QByteArray bytes = line.toLocal8Bit();
    if (m_tty) {
        // Redraw in place; the padding wipes a longer previous line.
        fprintf(m_out, "\r%s%*s", bytes.constData(), padding, "");
        m_barOpen = true;
    } else {
        fprintf(m_out, "%s\n", bytes.constData());
    }
    fflush(m_out);
}

int Output::result(int code, const QString &error, const QJsonObject &fields)
{
    if (m_json) {
        QJsonObject object = fields;
        object.insert(QStringLiteral("event"), QStringLiteral("result"));
        object.insert(QStringLiteral("ok"), code == 0);
        object.insert(QStringLiteral("exit"), code);
        if (!error.isEmpty())
            object.insert(QStringLiteral("error"), error);
        writeJson(object);
        return code;
    }
    endBar();
    if (!error.isEmpty()) {
        fprintf(m_err, "vxcut: %s\n", error.toLocal8Bit().constData());
        fflush(m_err);
    }
    return code;
}
