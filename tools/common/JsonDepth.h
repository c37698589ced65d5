// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>

// How deep a JSON text nests, measured before it is parsed.
//
// Debian builds CivetWeb with 100 KiB worker stacks, and Qt's JSON parser
// (like every walk of what it builds: toJson, the destructors) recurses
// once per level, up to 1024 levels: a body of 2 KB of brackets overflows
// such a stack and takes the whole server down. A server that parses on
// those threads measures first and refuses anything deeper than its own
// documents ever are.
namespace JsonDepth {

// Deep enough for every body the servers take (theirs nest three or four).
constexpr int ServerLimit = 32;

// Whether no array or object in text lies deeper than maxDepth. Brackets
// inside strings do not count; the text need not be valid JSON.
inline bool within(const QByteArray &text, int maxDepth = ServerLimit)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth)
                return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

} // namespace JsonDepth
