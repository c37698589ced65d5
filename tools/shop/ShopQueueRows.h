// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "ShopEntry.h"

#include <QString>

class QSqlQuery;

// A queue entry as one row of the jobs table, both ways. Inside the queue
// only: the columns are the database's, not a contract.
namespace ShopQueueRows {

// Every field but the id, in the order they are bound and read back.
inline constexpr const char *Fields[] = {"machine", "position", "state", "file_name", "path", "options",
                                        "copies", "added_by", "added_at", "started_at", "ended_at",
                                        "message", "finished", "percent", "record", "journal_id", "origin",
                                        "nest"};

// "SELECT id, <Fields> FROM jobs "
QString selectAll();
// Binds every field but the id, in Fields' order.
void bind(QSqlQuery &q, const ShopEntry &e);
// A row of selectAll().
ShopEntry fromRow(const QSqlQuery &q);

} // namespace ShopQueueRows
