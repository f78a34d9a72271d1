#pragma once
// The catalogue's search: what a reader types to find an issue. A date
// ("2026-02-03", "03.02.2026", "3.2.2026"), a month ("2026-02", "02.2026")
// or digits, which are an issue number (or a year, when "2026" numbers no
// issue); "№" and spaces around are ignored.

#include "archive/catalogue_feed.h"

#include <QString>

// The entries that answer query, in their order; none for text that is no
// date, month or number.
CatalogueEntries MatchingIssues(const CatalogueEntries& entries, const QString& query);
