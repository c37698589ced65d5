// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <vector>

// Splits HP-GL and HP-GL/2 text into commands: a two-letter mnemonic (any
// case) and its parameters. Separators may be commas, blanks or nothing but
// a sign; a command ends at ';', a line break or the next letter. Escape
// sequences and CO comments carry no geometry and are passed over here:
// plotter device control (ESC . x ... ':'), PCL escapes around an HP-GL/2
// block (ESC E, ESC %1B, ESC &l0O, raster data after ESC *b#W), and the PJL
// header printer drivers write (ESC %-12345X, then "@PJL ..." lines).
//
// Parameters are read on demand, in the form the command's table row asks
// for: numbers, raw bytes up to ';' (PE's encoded coordinates) or anything
// (strings and attribute bytes of commands that do not move the tool). One
// pass, no allocation per command; positions are turned into line and
// column only when an error is reported.
class HpglTokenizer
{
    Q_DECLARE_TR_FUNCTIONS(HpglTokenizer)

public:
    // Coordinates beyond this are garbage, not a plot; also keeps sums finite.
    static constexpr double MaxMagnitude = 1e12;

    static constexpr std::uint16_t code(char a, char b)
    {
        return std::uint16_t((std::uint8_t(a) << 8) | std::uint8_t(b));
    }

    explicit HpglTokenizer(const QByteArray &data);

    // Next mnemonic; false at the end or on an error (see failed()).
    bool nextCommand();
    std::uint16_t op() const { return m_op; }
    QByteArray opName() const;
    qint64 commandOffset() const { return m_cmdOffset; }

    // One of these per command, before the next nextCommand().
    bool numbers(std::vector<double> &out);
    bool raw(const char *&begin, const char *&end);
    bool skipAny();

    bool failed() const { return m_errorOffset >= 0; }
    qint64 errorOffset() const { return m_errorOffset; }
    QString errorMessage() const { return m_errorMessage; }
    // "byte 120 (line 4, column 7)"
    QString where(qint64 offset) const;

private:
    void fail(qint64 offset, const QString &message);
    // unterminated: the message (QT_TR_NOOP) when the closing quote is missing.
    bool skipQuoted(const char *unterminated);
    void skipEscape();

    const char *m_data;
    const char *m_p;
    const char *m_end;
    std::uint16_t m_op = 0;
    bool m_pjl = false; // after ESC %-12345X: "@PJL" lines until HP-GL/2 starts
    qint64 m_cmdOffset = -1;
    qint64 m_errorOffset = -1;
    QString m_errorMessage;
};
