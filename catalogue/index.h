#pragma once
// The issues the catalogue offers, read from the download folder once and
// then kept up with it: every complete issue (its download finished with
// every page), with a book or not, and any other issue that has a book.
// refresh() looks at the download folder and at the folders that are not
// yet complete issues; only when one of them changed (an issue added,
// completed, retired, a book written) does it read again, and then only the
// folders that changed. So a request costs a few file times, not a reading
// of thousands of folders.

#include "catalogue/feed.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

class CatalogueIndex {
public:
    explicit CatalogueIndex(const QString& downloadFolder);

    void refresh();
    // Looks at every folder's time and reads again those that changed: an
    // issue downloaded again in place changes inside its folder only. Too
    // slow for every request on thousands of issues; the server calls it
    // now and then.
    void recheckFolders();

    const QString& folder() const { return folder_; }
    // Newest first.
    const CatalogueEntries& entries() const { return newestFirst_; }
    // The entry of the issue folder named name, or null.
    const CatalogueEntry* find(const QString& name) const;
    // Issues of the archive the catalogue leaves out: unfinished, no book.
    int leftOut() const { return leftOut_; }

private:
    struct Folder {
        qint64 changed = 0; // the folder's own time when it was read, ms since the epoch
        qint64 readAt = 0;  // when it was read
        bool complete = false;
    };
    static bool stale(const Folder& folder, qint64 now);
    void readFolder(const QString& name, qint64 changed);
    void scanDownloadFolder();
    bool rereadPendingFolders();
    void rebuild();

    QString folder_;
    qint64 listChanged_ = -1; // the download folder's time at the last scan, ms
    qint64 scannedAt_ = 0;    // when that was
    QHash<QString, Folder> folders_;
    QHash<QString, CatalogueEntry> issues_; // by folder name, complete or not
    QHash<QString, qint64> books_;          // folder name -> its book's time, ms
    QList<CatalogueEntry> entries_;
    CatalogueEntries newestFirst_;     // into entries_
    QHash<QString, qsizetype> byName_; // folder name -> place in entries_
    int leftOut_ = 0;
};
