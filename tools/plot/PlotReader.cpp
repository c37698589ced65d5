// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotReader.h"

#include <QFile>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Coordinates beyond this are garbage, not a plot; also keeps sums finite.
constexpr double MaxMagnitude = 1e12;

inline bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; }

constexpr quint16 code(char a, char b) { return quint16((quint8(a) << 8) | quint8(b)); }

// Do not move the tool: pen, line and velocity attributes, character set
// and size (LB itself is refused), fill attributes, output queries, paging.
bool isSkipped(quint16 c)
{
    static const quint16 skipped[] = {
        code('S','P'), code('P','W'), code('L','T'), code('V','S'), code('F','S'),
        code('P','G'), code('C','T'), code('N','R'), code('P','S'), code('E','C'),
        code('A','S'), code('S','A'), code('S','S'), code('C','S'), code('C','A'),
        code('S','I'), code('S','R'), code('S','L'), code('D','I'), code('D','R'),
        code('E','S'), code('F','T'), code('L','A'), code('T','R'), code('M','C'),
        code('P','P'), code('R','F'), code('U','L'), code('W','U'), code('P','C'),
        code('N','P'), code('C','R'), code('Q','L'), code('B','P'), code('P','T'),
        code('L','O'), code('C','P'), code('D','T'), code('A','H'), code('K','Y'),
        code('O','A'), code('O','C'), code('O','D'), code('O','E'), code('O','F'),
        code('O','H'), code('O','I'), code('O','O'), code('O','P'), code('O','S'),
        code('O','W'), code('O','T'), code('O','G'), code('O','K'), code('O','L'),
        code('Z','Z'), code('V','A'), code('V','N'), code('G','C'), code('G','M'),
        code('I','M'), code('A','P'), code('F','R'), code('E','F'),
    };
    for (quint16 s : skipped)
        if (s == c)
            return true;
    return false;
}

// Draw geometry this reader does not model; refusing keeps sizes honest.
bool isRefusedDrawing(quint16 c)
{
    static const quint16 drawing[] = {
        code('A','A'), code('A','R'), code('A','T'), code('R','T'), code('C','I'),
        code('E','A'), code('E','R'), code('E','P'), code('E','W'), code('F','P'),
        code('P','E'), code('P','M'), code('R','A'), code('R','R'), code('W','G'),
        code('B','Z'), code('B','R'), code('L','B'), code('T','L'), code('X','T'),
        code('Y','T'), code('U','C'), code('S','M'), code('B','L'), code('P','B'),
    };
    for (quint16 d : drawing)
        if (d == c)
            return true;
    return false;
}

} // namespace

void PlotReader::reset()
{
    *this = PlotReader();
}

QRectF PlotReader::boundingBox() const
{
    if (!m_hasBox)
        return QRectF();
    return QRectF(QPointF(m_minX, m_minY), QPointF(m_maxX, m_maxY));
}

bool PlotReader::readFile(const QString &fileName)
{
    const bool keep = m_keepPolylines;
    reset();
    m_keepPolylines = keep;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot open %1: %2").arg(fileName, file.errorString());
        return false;
    }
    return read(file.readAll());
}

void PlotReader::fail(const char *data, qint64 size, qint64 offset, const QByteArray &cmd,
                      const QString &message)
{
    if (offset > size)
        offset = size;
    // Position is computed once, on failure, so the pass stays linear.
    qint64 line = 1;
    qint64 lineStart = 0;
    for (const char *p = data, *end = data + offset;
         (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))); ++p) {
        ++line;
        lineStart = p - data + 1;
    }
    m_errorOffset = offset;
    m_errorCommand = cmd;
    QString where = QStringLiteral("byte %1 (line %2, column %3)")
                        .arg(offset).arg(line).arg(offset - lineStart + 1);
    if (!cmd.isEmpty())
        where += QStringLiteral(", command ") + QString::fromLatin1(cmd);
    m_error = where + QStringLiteral(": ") + message;
}

void PlotReader::endStroke()
{
    if (m_strokePoints >= 2) {
        ++m_strokeCount;
        if (m_keepPolylines)
            m_polylines.append(m_stroke);
    }
    m_stroke.clear();
    m_strokePoints = 0;
}

void PlotReader::penDown(bool down)
{
    if (down == m_down)
        return;
    endStroke();
    m_down = down;
    if (down) {
        m_strokePoints = 1;
        if (m_keepPolylines)
            m_stroke.append(m_pos);
    }
}

void PlotReader::moveTo(double x, double y)
{
    const QPointF to(x, y);
    const double dx = x - m_pos.x(), dy = y - m_pos.y();
    const double d = std::sqrt(dx * dx + dy * dy);
    if (!m_down) {
        m_travelLength += d;
        m_pos = to;
        return;
    }
    m_pathLength += d;
    auto include = [this](const QPointF &p) {
        if (!m_hasBox) {
            m_minX = m_maxX = p.x();
            m_minY = m_maxY = p.y();
            m_hasBox = true;
            return;
        }
        m_minX = std::min(m_minX, p.x());
        m_maxX = std::max(m_maxX, p.x());
        m_minY = std::min(m_minY, p.y());
        m_maxY = std::max(m_maxY, p.y());
    };
    if (m_strokePoints == 1)
        include(m_pos);
    include(to);
    ++m_strokePoints;
    ++m_pointCount;
    if (m_keepPolylines)
        m_stroke.append(to);
    m_pos = to;
}

bool PlotReader::read(const QByteArray &bytes)
{
    const bool keep = m_keepPolylines;
    reset();
    m_keepPolylines = keep;

    const char *const data = bytes.constData();
    const qint64 size = bytes.size();
    const char *p = data;
    const char *const end = data + size;
    std::vector<double> args;
    args.reserve(64);

    // Scaling parameters of the last SC, re-derived whenever IP changes.
    double scX0 = 0, scX1 = 0, scY0 = 0, scY1 = 0;
    int scType = 0;
    bool p1Known = false, p2Known = false;

    auto rescale = [&]() -> QString {
        if (!m_scaled)
            return QString();
        if (!p1Known || (scType == 0 && !p2Known))
            return QStringLiteral("scaling needs explicit IP points; the default ones depend on the machine");
        if (scType == 2) {
            m_ux = scX0; m_sx = scX1;
            m_uy = scY0; m_sy = scY1;
        } else {
            if (scX1 == scX0 || scY1 == scY0)
                return QStringLiteral("scaling range is empty");
            m_ux = scX0; m_sx = (m_p2x - m_p1x) / (scX1 - scX0);
            m_uy = scY0; m_sy = (m_p2y - m_p1y) / (scY1 - scY0);
        }
        return QString();
    };

    while (p < end) {
        const char c = *p;
        if (c == ';' || quint8(c) < 0x20 || c == ' ') {
            if (c == 0x1b) {
                // Device-control escapes (ESC . x params ':') carry no geometry.
                ++p;
                if (p < end && *p == '.') {
                    ++p;
                    if (p < end)
                        ++p;
                    const char *q = p;
                    while (q < end && (isDigit(*q) || *q == ';' || *q == ' '))
                        ++q;
                    if (q < end && *q == ':')
                        p = q + 1;
                } else if (p < end) {
                    ++p;
                }
                continue;
            }
            ++p;
            continue;
        }
        const qint64 cmdOffset = p - data;
        if (!isLetter(c) || p + 1 >= end || !isLetter(p[1])) {
            fail(data, size, cmdOffset, QByteArray(),
                 isLetter(c) ? QStringLiteral("incomplete command")
                             : QStringLiteral("unexpected character 0x%1")
                                   .arg(quint8(c), 2, 16, QLatin1Char('0')));
            return false;
        }
        const quint16 op = code(upper(c), upper(p[1]));
        // Built only on failure: one allocation per command would dominate.
        const auto cmd = [op] {
            const char name[2] = {char(op >> 8), char(op & 0xff)};
            return QByteArray(name, 2);
        };
        p += 2;

        if (op == code('C', 'O')) {
            // Comment: a quoted string, or nothing.
            while (p < end && (*p == ' ' || *p == '\t'))
                ++p;
            if (p < end && *p == '"') {
                const void *q = std::memchr(p + 1, '"', size_t(end - p - 1));
                if (!q) {
                    fail(data, size, cmdOffset, cmd(), QStringLiteral("unterminated comment"));
                    return false;
                }
                p = static_cast<const char *>(q) + 1;
            }
            continue;
        }
        const bool moving = op == code('P', 'U') || op == code('P', 'D') || op == code('P', 'A')
                            || op == code('P', 'R');
        if (!moving && isRefusedDrawing(op)) {
            fail(data, size, cmdOffset, cmd(),
                 QStringLiteral("draws geometry this reader does not support"));
            return false;
        }
        const bool skipped = !moving && isSkipped(op);

        // Parameters: numbers (and, for skipped commands, quoted strings or
        // any bytes) up to ';', a line break... or the next command letter.
        args.clear();
        while (p < end) {
            const char a = *p;
            if (a == ';')
                break;
            if (isBlank(a)) {
                ++p;
                continue;
            }
            if (skipped && a == '"') {
                const void *q = std::memchr(p + 1, '"', size_t(end - p - 1));
                if (!q) {
                    fail(data, size, cmdOffset, cmd(), QStringLiteral("unterminated string"));
                    return false;
                }
                p = static_cast<const char *>(q) + 1;
                continue;
            }
            if (isLetter(a) || quint8(a) < 0x20)
                break;
            if (!(isDigit(a) || a == '+' || a == '-' || a == '.')) {
                if (skipped) {
                    ++p;
                    continue;
                }
                fail(data, size, p - data, cmd(),
                     QStringLiteral("unexpected character 0x%1 in parameters")
                         .arg(quint8(a), 2, 16, QLatin1Char('0')));
                return false;
            }
            const char *start = p;
            bool negative = false;
            if (a == '+' || a == '-') {
                negative = a == '-';
                ++p;
            }
            double v = 0;
            bool digits = false;
            while (p < end && isDigit(*p)) {
                v = v * 10 + (*p - '0');
                ++p;
                digits = true;
            }
            if (p < end && *p == '.') {
                ++p;
                double scale = 0.1;
                while (p < end && isDigit(*p)) {
                    v += (*p - '0') * scale;
                    scale *= 0.1;
                    ++p;
                    digits = true;
                }
            }
            if (!digits) {
                fail(data, size, start - data, cmd(), QStringLiteral("malformed number"));
                return false;
            }
            if (!(v <= MaxMagnitude)) {
                fail(data, size, start - data, cmd(), QStringLiteral("number out of range"));
                return false;
            }
            args.push_back(negative ? -v : v);
        }
        if (p < end && *p == ';')
            ++p;
        if (skipped)
            continue;

        const size_t n = args.size();
        switch (op) {
        case code('P', 'U'):
        case code('P', 'D'):
        case code('P', 'A'):
        case code('P', 'R'):
            if (n % 2) {
                fail(data, size, cmdOffset, cmd(), QStringLiteral("odd number of coordinates"));
                return false;
            }
            if (op == code('P', 'U'))
                penDown(false);
            else if (op == code('P', 'D'))
                penDown(true);
            else
                m_relative = op == code('P', 'R');
            for (size_t i = 0; i < n; i += 2) {
                double x = args[i], y = args[i + 1];
                if (m_scaled) {
                    x = m_relative ? x * m_sx : m_p1x + (x - m_ux) * m_sx;
                    y = m_relative ? y * m_sy : m_p1y + (y - m_uy) * m_sy;
                }
                if (m_relative) {
                    x += m_pos.x();
                    y += m_pos.y();
                }
                moveTo(x, y);
            }
            break;
        case code('I', 'N'):
        case code('D', 'F'):
            if (op == code('I', 'N')) {
                penDown(false);
                p1Known = p2Known = false;
            }
            m_relative = false;
            m_scaled = false;
            break;
        case code('I', 'P'):
            if (n == 0) {
                p1Known = p2Known = false;
            } else if (n == 2) {
                // P2 follows P1 so the frame keeps its size.
                m_p2x += args[0] - m_p1x;
                m_p2y += args[1] - m_p1y;
                m_p1x = args[0];
                m_p1y = args[1];
                p1Known = true;
            } else if (n == 4) {
                m_p1x = args[0]; m_p1y = args[1];
                m_p2x = args[2]; m_p2y = args[3];
                p1Known = p2Known = true;
            } else {
                fail(data, size, cmdOffset, cmd(), QStringLiteral("expects 0, 2 or 4 parameters"));
                return false;
            }
            if (const QString e = rescale(); !e.isEmpty()) {
                fail(data, size, cmdOffset, cmd(), e);
                return false;
            }
            break;
        case code('S', 'C'):
            if (n == 0) {
                m_scaled = false;
                break;
            }
            if (n != 4 && n != 5) {
                fail(data, size, cmdOffset, cmd(), QStringLiteral("expects 0, 4 or 5 parameters"));
                return false;
            }
            // Checked as a number first: a type beyond int (SC0,1,0,1,1e10)
            // made the conversion undefined.
            if (const double type = n == 5 ? std::trunc(args[4]) : 0; type != 0 && type != 2) {
                fail(data, size, cmdOffset, cmd(),
                     QStringLiteral("isotropic scaling is not supported"));
                return false;
            }
            scType = n == 5 ? int(std::trunc(args[4])) : 0;
            scX0 = args[0]; scX1 = args[1]; scY0 = args[2]; scY1 = args[3];
            m_scaled = true;
            if (const QString e = rescale(); !e.isEmpty()) {
                fail(data, size, cmdOffset, cmd(), e);
                return false;
            }
            break;
        case code('R', 'O'):
            if (n > 0 && std::fmod(args[0], 360.0) != 0) {
                fail(data, size, cmdOffset, cmd(), QStringLiteral("rotation is not supported"));
                return false;
            }
            break;
        case code('I', 'W'):
            if (n > 0) {
                fail(data, size, cmdOffset, cmd(),
                     QStringLiteral("clipping windows are not supported"));
                return false;
            }
            break;
        case code('I', 'R'):
            fail(data, size, cmdOffset, cmd(),
                 QStringLiteral("relative scaling points depend on the machine"));
            return false;
        default:
            fail(data, size, cmdOffset, cmd(), QStringLiteral("unknown command"));
            return false;
        }
    }
    endStroke();
    m_down = false;
    return true;
}
