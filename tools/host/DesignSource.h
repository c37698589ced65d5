// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>

// Where each sheet's design is found by the code printed on the sheet: a
// folder whose files are named by their codes (ABC123.svg, ABC123.plt,
// ABC123.dxf), or a map file of "CODE = path" lines.
//
// A code comes from the machine's camera, that is from whatever was printed:
// it is a name to look up, never a path. A code holding a path separator, a
// leading dot or a control byte names no design, so "../x" cannot reach a
// file outside the folder. A code with two design files (A.svg and A.dxf)
// names none either: guessing would risk a wrong cut.
//
// A map file is checked whole when opened, before anything goes to the
// machine: every bad line, duplicate code and missing file is reported with
// its line number, not just the first. Paths in it are relative to the map
// file's folder. Lines starting with '#' and blank lines are skipped.
class DesignSource
{
    Q_DECLARE_TR_FUNCTIONS(DesignSource)

public:
    // Extensions a folder design may carry, in the order they are tried.
    static const QStringList &extensions();
    // A map holds at most this many lines; larger files are no map.
    static constexpr int MaxMapLines = 200000;
    static constexpr qint64 MaxMapBytes = qint64(16) << 20;

    // A folder or a map file. False with errors() (each "file:line: what"
    // for a map) when it cannot serve.
    bool open(const QString &path);
    QStringList errors() const { return m_errors; }

    bool isFolder() const { return m_folder; }
    QString path() const { return m_path; }
    // "folder /x" or "map /x/codes.txt (12 codes)".
    QString describe() const;
    // Design files (folder) or codes (map) at the time of the call.
    int size() const;

    // The design's path for a code; empty with *why when none is found.
    QString find(const QString &code, QString *why = nullptr) const;
    // Empty when the code may name a file; otherwise why it may not.
    static QString codeError(const QString &code);

private:
    bool readMap(const QString &path);

    QString m_path;
    bool m_folder = false;
    QHash<QString, QString> m_map;   // code -> absolute path
    QStringList m_errors;
};
