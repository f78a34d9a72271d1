#pragma once
// The catalogue's feeds as a reader walks them: /opds offers the newest
// issues and one way per publication; a publication leads to its years, a
// year to its months, a month to its issues. Issues come in pages of at
// most PageSize with first, previous, next and last links; every feed links
// to the start, to the feed above it and to itself.
//
//   /opds                 navigation: "Новые номера", «Ведомир», «Зенитра»
//   /opds/new             the newest NewestCount issues
//   /opds/kp              the years of a publication (kp, kt)
//   /opds/kp/2026         the months of a year
//   /opds/kp/2026/02      the issues of a month (?page=N)
//   /opds/kp/undated      the issues whose date cannot be read (?page=N)

#include "catalogue/index.h"

#include <optional>

inline constexpr int NewestCount = 20;
inline constexpr int PageSize = 50;

struct MadeFeed {
    QByteArray type; // the feed's media type
    QByteArray body;
    QDateTime updated;
};

// The feed at path (FeedPath or below it) and page (from 1), or nothing
// when there is none there.
std::optional<MadeFeed> CatalogueFeed(const CatalogueIndex& index, const QByteArray& path,
                                      int page);

// The issues that answer a search, paged as a month is.
std::optional<MadeFeed> SearchFeed(const CatalogueIndex& index, const QString& terms, int page);
