// SPDX-License-Identifier: LGPL-2.1-or-later
#include "HpglTokenizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
inline bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; }
QString hexByte(char c) { return QStringLiteral("0x%1").arg(quint8(c), 2, 16, QLatin1Char('0')); }
} // namespace

HpglTokenizer::HpglTokenizer(const QByteArray &data)
    : m_data(data.constData()), m_p(data.constData()), m_end(data.constData() + data.size())
{
}

QByteArray HpglTokenizer::opName() const
{
    const char name[2] = {char(m_op >> 8), char(m_op & 0xff)};
    return QByteArray(name, 2);
}

// Plain digits, not the locale's: the position also reaches --json output,
// and it is looked up in an editor.
QString HpglTokenizer::where(qint64 offset) const
{
    const qint64 size = m_end - m_data;
    if (offset > size)
        offset = size;
    qint64 line = 1;
    qint64 lineStart = 0;
    for (const char *p = m_data, *end = m_data + offset;
         (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))); ++p) {
        ++line;
        lineStart = p - m_data + 1;
    }
    return tr("byte %1 (line %2, column %3)").arg(offset).arg(line).arg(offset - lineStart + 1);
}

void HpglTokenizer::fail(qint64 offset, const QString &message)
{
    if (m_errorOffset < 0) {
        m_errorOffset = offset;
        m_errorMessage = message;
    }
}

bool HpglTokenizer::skipQuoted(const char *unterminated)
{
    const void *q = std::memchr(m_p + 1, '"', size_t(m_end - m_p - 1));
    if (!q) {
        fail(m_cmdOffset, tr(unterminated));
        return false;
    }
    m_p = static_cast<const char *>(q) + 1;
    return true;
}

void HpglTokenizer::skipEscape()
{
    ++m_p;
    if (m_p >= m_end)
        return;
    const char c = *m_p++;
    if (c == '.') {
        // ESC . x params ':' is plotter device control.
        if (m_p < m_end)
            ++m_p;
        const char *q = m_p;
        while (q < m_end && (isDigit(*q) || *q == ';' || *q == ' '))
            ++q;
        if (q < m_end && *q == ':')
            m_p = q + 1;
        return;
    }
    if (quint8(c) < 0x21 || quint8(c) > 0x2f)
        return; // ESC E (reset) and the other two-byte escapes
    // A PCL parameterised escape: ESC, c, an optional group byte, then value
    // fields, each closed by a lower case byte (another follows) or an upper
    // case one (the last). "ESC*b12W" carries 12 bytes of data after it;
    // "ESC%-12345X" is the job exit PJL lines follow; "ESC%1B" enters HP-GL/2.
    if (m_p < m_end && quint8(*m_p) >= 0x60 && quint8(*m_p) <= 0x7e)
        ++m_p;
    while (m_p < m_end) {
        qint64 n = 0;
        bool fraction = false;
        for (; m_p < m_end && (isDigit(*m_p) || *m_p == '-' || *m_p == '+' || *m_p == '.'); ++m_p) {
            fraction = fraction || *m_p == '.';
            if (isDigit(*m_p) && !fraction)
                n = std::min<qint64>(n * 10 + (*m_p - '0'), m_end - m_data);
        }
        if (m_p >= m_end)
            return;
        const char t = *m_p++;
        if (c == '%' && t == 'X')
            m_pjl = true;
        else if (c == '%' && (t == 'B' || t == 'A'))
            m_pjl = false;
        if (t == 'W' || t == 'w')
            m_p += std::min<qint64>(n, m_end - m_p);
        if (t < 0x60 || t > 0x7e)
            return;
    }
}

bool HpglTokenizer::nextCommand()
{
    if (failed())
        return false;
    while (m_p < m_end) {
        const char c = *m_p;
        if (c == 0x1b) {
            skipEscape();
            continue;
        }
        if (m_pjl && c == '@') {
            // A PJL line ("@PJL ENTER LANGUAGE=HPGL2") after the job's exit.
            const void *nl = std::memchr(m_p, '\n', size_t(m_end - m_p));
            m_p = nl ? static_cast<const char *>(nl) + 1 : m_end;
            continue;
        }
        if (c == ';' || quint8(c) < 0x20 || c == ' ') {
            ++m_p;
            continue;
        }
        m_cmdOffset = m_p - m_data;
        if (!isLetter(c) || m_p + 1 >= m_end || !isLetter(m_p[1])) {
            fail(m_cmdOffset, isLetter(c) ? tr("incomplete command") : tr("unexpected character %1").arg(hexByte(c)));
            m_op = 0;
            return false;
        }
        m_op = code(upper(c), upper(m_p[1]));
        m_p += 2;
        if (m_op == code('C', 'O')) {
            // A comment: a quoted string, or nothing.
            while (m_p < m_end && (*m_p == ' ' || *m_p == '\t'))
                ++m_p;
            if (m_p < m_end && *m_p == '"' && !skipQuoted(QT_TR_NOOP("unterminated comment")))
                return false;
            continue;
        }
        return true;
    }
    return false;
}

bool HpglTokenizer::numbers(std::vector<double> &out)
{
    out.clear();
    while (m_p < m_end) {
        const char a = *m_p;
        if (a == ';') {
            ++m_p;
            break;
        }
        if (isBlank(a)) {
            ++m_p;
            continue;
        }
        if (isLetter(a) || quint8(a) < 0x20)
            break;
        if (!(isDigit(a) || a == '+' || a == '-' || a == '.')) {
            fail(m_p - m_data, tr("unexpected character %1 in parameters").arg(hexByte(a)));
            return false;
        }
        const char *start = m_p;
        bool negative = false;
        if (a == '+' || a == '-') {
            negative = a == '-';
            ++m_p;
        }
        double v = 0;
        bool digits = false;
        while (m_p < m_end && isDigit(*m_p)) {
            v = v * 10 + (*m_p - '0');
            ++m_p;
            digits = true;
        }
        if (m_p < m_end && *m_p == '.') {
            ++m_p;
            double scale = 0.1;
            while (m_p < m_end && isDigit(*m_p)) {
                v += (*m_p - '0') * scale;
                scale *= 0.1;
                ++m_p;
                digits = true;
            }
        }
        if (!digits) {
            fail(start - m_data, tr("malformed number"));
            return false;
        }
        // "1e+06" from a printf("%g") writer: no command starts with a
        // letter and a digit or sign, so the exponent cannot be misread.
        if (m_p + 1 < m_end && (*m_p == 'e' || *m_p == 'E')
            && (isDigit(m_p[1]) || ((m_p[1] == '+' || m_p[1] == '-') && m_p + 2 < m_end && isDigit(m_p[2])))) {
            const bool down = m_p[1] == '-';
            m_p += isDigit(m_p[1]) ? 1 : 2;
            int e = 0;
            for (; m_p < m_end && isDigit(*m_p); ++m_p)
                e = std::min(e * 10 + (*m_p - '0'), 9999);
            v = v == 0 ? 0 : v * std::pow(10.0, down ? -e : e);
        }
        if (!(v <= MaxMagnitude)) {
            const QByteArray text(start, int(std::min<qint64>(m_p - start, 40)));
            //: %1 is the number as the file writes it
            fail(start - m_data, tr("number %1 is out of range").arg(QString::fromLatin1(text) + (m_p - start > 40 ? QStringLiteral("…") : QString())));
            return false;
        }
        out.push_back(negative ? -v : v);
    }
    return true;
}

bool HpglTokenizer::raw(const char *&begin, const char *&end)
{
    begin = m_p;
    const void *q = std::memchr(m_p, ';', size_t(m_end - m_p));
    m_p = q ? static_cast<const char *>(q) : m_end;
    end = m_p;
    if (m_p < m_end)
        ++m_p;
    return true;
}

bool HpglTokenizer::skipAny()
{
    while (m_p < m_end) {
        const char a = *m_p;
        if (a == ';') {
            ++m_p;
            break;
        }
        if (isBlank(a)) {
            ++m_p;
            continue;
        }
        if (a == '"') {
            if (!skipQuoted(QT_TR_NOOP("unterminated string")))
                return false;
            continue;
        }
        if (isLetter(a) || quint8(a) < 0x20)
            break;
        ++m_p;
    }
    return true;
}
