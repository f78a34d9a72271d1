#pragma once
// The documents of one archived issue: one per saved article page.

#include "processing/archive_issues.h"

#include <xapian.h>

namespace search {

// Replaces the documents the index holds of the issue with those of its
// saved pages (the caller holds the transaction). The number of pages
// indexed.
int PutIssue(Xapian::WritableDatabase& db, const ArchivedIssue& issue);

// Removes every document of the issue folder named name.
void RemoveIssue(Xapian::WritableDatabase& db, const QString& name);

// "kp" or "kt".
std::string SourceCode(int16_t source);

} // namespace search
