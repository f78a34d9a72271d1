#pragma once
// Opening the search index for writing: made when missing, made anew from
// the whole archive when damaged, waited for a while when another program
// writes it.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <xapian.h>

namespace search {

struct WritableIndex {
    std::optional<Xapian::WritableDatabase> db; // none: could not be opened
    bool rebuilt = false; // it was missing or damaged and now holds the whole archive
    QString note;         // for the user when rebuilt or not opened
    int issues = 0;       // issues and pages indexed by the rebuild
    int pages = 0;
};

// Whether the index is missing, or its build from nothing was cut short
// (a kill): then opening it for writing builds it.
bool IndexNeedsBuilding(const QString& programFolder);

// progress(done, total) follows a rebuild.
WritableIndex OpenWritableIndex(const QString& programFolder,
                                const std::function<void(int, int)>& progress = {});

// Indexes every issue of the archive into db, one transaction per batch of
// issues; progress(done, total) after each. The issue folder names indexed.
struct FillResult {
    QStringList names;
    int pages = 0;
};
FillResult FillFromArchive(Xapian::WritableDatabase& db, const QString& programFolder,
                           const std::function<void(int, int)>& progress = {});

// Rewrites the index at folder compactly (Xapian's compaction: full
// blocks, a fifth smaller after a rebuild) while db, open on it, keeps other
// writers out. The compact copy is made beside it and then takes its place;
// false, and the index as it was, when that failed.
bool CompactIndex(Xapian::WritableDatabase& db, const QString& folder);

} // namespace search
