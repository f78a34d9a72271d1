#pragma once
// The catalogue's search: what a reader types to find an issue. A date
// ("2026-02-03", "03.02.2026", "3.2.2026"), a month ("2026-02", "02.2026")
// or digits, which are an issue number (or a year, when "2026" numbers no
// issue); "№" and spaces around are ignored.

#include "catalogue/feed.h"
#include "catalogue/index.h"

#include <QString>

// The entries that answer query, in their order; none for text that is no
// date, month or number.
CatalogueEntries MatchingIssues(const CatalogueEntries& entries, const QString& query);

// The issues whose pages hold the words of query, in the order of their best
// page (the archive's search index, as norvel2 --search reads it), each
// with its pages found in pages. None when the archive has no search index
// yet: building one takes long, and the server must go on answering; a
// download or norvel2 --reindex builds it.
CatalogueEntries IssuesHoldingText(const CatalogueIndex& index, const QString& query,
                                   MatchedPages& pages);
