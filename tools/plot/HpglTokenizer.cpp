// SPDX-License-Identifier: LGPL-2.1-or-later
#include "HpglTokenizer.h"

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

bool HpglTokenizer::nextCommand()
{
    if (failed())
        return false;
    while (m_p < m_end) {
        const char c = *m_p;
        if (c == 0x1b) {
            // ESC . x params ':' is device control; ESC E and ESC %nB switch
            // languages around an HP-GL/2 block. None carries geometry.
            ++m_p;
            if (m_p < m_end && *m_p == '.') {
                ++m_p;
                if (m_p < m_end)
                    ++m_p;
                const char *q = m_p;
                while (q < m_end && (isDigit(*q) || *q == ';' || *q == ' '))
                    ++q;
                if (q < m_end && *q == ':')
                    m_p = q + 1;
            } else if (m_p < m_end && *m_p == '%') {
                ++m_p;
                while (m_p < m_end && (isDigit(*m_p) || *m_p == '-'))
                    ++m_p;
                if (m_p < m_end)
                    ++m_p;
            } else if (m_p < m_end) {
                ++m_p;
            }
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
        if (!(v <= MaxMagnitude)) {
            fail(start - m_data, tr("number out of range"));
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
