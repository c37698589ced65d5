// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DesignSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

const QStringList &DesignSource::extensions()
{
    static const QStringList list{QStringLiteral("svg"), QStringLiteral("svgz"), QStringLiteral("plt"),
                                  QStringLiteral("hpgl"), QStringLiteral("dxf")};
    return list;
}

QString DesignSource::codeError(const QString &code)
{
    if (code.isEmpty())
        return tr("empty code");
    if (code.startsWith(QLatin1Char('.')))
        return tr("a code may not start with '.'");
    for (const QChar c : code) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return tr("a code may not hold '%1'").arg(c);
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return tr("a code may not hold control characters");
    }
    if (code.size() > 200)
        return tr("a code is at most 200 characters");
    return QString();
}

bool DesignSource::open(const QString &path)
{
    m_path = QFileInfo(path).absoluteFilePath();
    m_map.clear();
    m_errors.clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        m_errors << tr("%1: no such folder or map file").arg(path);
        return false;
    }
    m_folder = info.isDir();
    if (m_folder)
        return true;
    if (!info.isFile()) {
        m_errors << tr("%1 is neither a folder nor a regular file").arg(path);
        return false;
    }
    return readMap(path);
}

bool DesignSource::readMap(const QString &path)
{
    QFile file(path);
    if (file.size() > MaxMapBytes) {
        m_errors << tr("%1 is larger than %2 MiB; no map").arg(path, QLocale().toString(MaxMapBytes >> 20));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_errors << QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    const QDir base = QFileInfo(path).absoluteDir();
    const QString name = QFileInfo(path).fileName();
    QHash<QString, int> firstLine;
    int lineNo = 0;
    while (!file.atEnd()) {
        if (++lineNo > MaxMapLines) {
            m_errors << tr("%1: more than %2 lines; no map").arg(name, QLocale().toString(MaxMapLines));
            break;
        }
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        auto fail = [&](const QString &what) { m_errors << QStringLiteral("%1:%2: %3").arg(name, QString::number(lineNo), what); };
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) {
            fail(tr("expected CODE = path, got \"%1\"").arg(line.left(80)));
            continue;
        }
        const QString code = line.left(eq).trimmed();
        const QString target = line.mid(eq + 1).trimmed();
        if (code.isEmpty() || target.isEmpty()) {
            fail(code.isEmpty() ? tr("no code before '='") : tr("no path after '='"));
            continue;
        }
        // The map may name any file, but the code itself must be one a
        // camera can deliver and a folder could hold.
        const QString bad = codeError(code);
        if (!bad.isEmpty()) {
            fail(tr("code \"%1\": %2").arg(code.left(80), bad));
            continue;
        }
        if (firstLine.contains(code)) {
            fail(tr("code %1 again (first on line %2)").arg(code, QString::number(firstLine.value(code))));
            continue;
        }
        firstLine.insert(code, lineNo);
        const QFileInfo design(base.absoluteFilePath(target));
        if (!design.exists()) {
            fail(tr("code %1: no file %2").arg(code, design.filePath()));
            continue;
        }
        if (!design.isFile()) {
            fail(tr("code %1: %2 is not a regular file").arg(code, design.filePath()));
            continue;
        }
        m_map.insert(code, design.absoluteFilePath());
    }
    if (m_errors.isEmpty() && m_map.isEmpty())
        m_errors << tr("%1 maps no code").arg(name);
    if (!m_errors.isEmpty())
        m_map.clear();
    return m_errors.isEmpty();
}

QString DesignSource::describe() const
{
    if (m_folder)
        return tr("folder %1").arg(m_path);
    return tr("map %1 (%n codes)", nullptr, m_map.size()).arg(m_path);
}

int DesignSource::size() const
{
    if (!m_folder)
        return m_map.size();
    QStringList filters;
    for (const QString &ext : extensions())
        filters << QStringLiteral("*.") + ext;
    return QDir(m_path).entryList(filters, QDir::Files).size();
}

QString DesignSource::find(const QString &code, QString *why) const
{
    auto none = [why](const QString &text) {
        if (why)
            *why = text;
        return QString();
    };
    const QString bad = codeError(code);
    if (!bad.isEmpty())
        return none(tr("code \"%1\" names no design: %2").arg(code.left(80), bad));
    if (!m_folder) {
        const QString path = m_map.value(code);
        return path.isEmpty() ? none(tr("no design for code %1 in the map").arg(code)) : path;
    }
    // Looked up per sheet, not listed once: a design dropped into the
    // folder while the run goes on is found for the next sheet.
    const QDir dir(m_path);
    QStringList found, names;
    for (const QString &ext : extensions()) {
        const QString name = code + QLatin1Char('.') + ext;
        const QFileInfo f(dir.filePath(name));
        if (f.isFile()) {
            found << f.absoluteFilePath();
            names << name;
        }
    }
    if (found.size() > 1)
        return none(tr("code %1 has %n designs (%2); remove all but one", nullptr, found.size())
                        .arg(code, names.join(QStringLiteral(", "))));
    if (found.isEmpty())
        return none(tr("no design for code %1 (%1.svg, .plt or .dxf) in %2").arg(code, m_path));
    return found.first();
}
