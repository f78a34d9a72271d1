#include "archive/catalogue_index.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

// The record a download keeps in an issue folder until every page is saved.
const QString UnfinishedRecord = QStringLiteral(".norvel-pages");

// A time within this of the moment it was read may still change without
// the time moving (the clock's step): such a folder is read again.
constexpr qint64 RacyMs = 2000;

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

int savedPages(const ArchivedIssue& issue) {
    int n = 0;
    for (const IndexedPage& page : issue.pages)
        n += page.liveAddress.isEmpty() ? 1 : 0;
    return n;
}

CatalogueEntry entryOf(ArchivedIssue issue, bool complete, const QDateTime& changed) {
    CatalogueEntry entry;
    entry.savedPages = savedPages(issue);
    issue.pages.clear(); // thousands of issues: keep what the feeds show
    entry.issue = issue;
    entry.complete = complete;
    entry.changed = WholeSeconds(changed);
    const QString cover = IssueCoverFile(entry.issue);
    entry.coverType = cover.isEmpty() ? QByteArray() : CoverMediaType(cover);
    return entry;
}

} // namespace

CatalogueIndex::CatalogueIndex(const QString& downloadFolder) : folder_(downloadFolder) {
    refresh();
}

const CatalogueEntry* CatalogueIndex::find(const QString& name) const {
    const auto at = byName_.constFind(name);
    return at == byName_.constEnd() ? nullptr : &entries_[*at];
}

void CatalogueIndex::refresh() {
    const QDateTime listTime = QFileInfo(folder_).lastModified();
    bool changed = false;
    if (listTime != listChanged_ || listTime.toMSecsSinceEpoch() > scannedAt_ - RacyMs) {
        scanDownloadFolder();
        listChanged_ = listTime;
        changed = true;
    }
    changed = rereadPendingFolders() || changed;
    if (changed)
        rebuild();
}

void CatalogueIndex::readFolder(const QString& name, const QDateTime& changed) {
    Folder folder{changed, nowMs(), false};
    if (const auto issue = ReadArchivedIssue(folder_ + "/" + name)) {
        folder.complete = !QFileInfo::exists(issue->folder + "/" + UnfinishedRecord);
        issues_.insert(name, entryOf(*issue, folder.complete, changed));
    } else {
        issues_.remove(name);
    }
    folders_.insert(name, folder);
}

bool CatalogueIndex::stale(const Folder& folder, const QDateTime& now) {
    return folder.changed != now || now.toMSecsSinceEpoch() > folder.readAt - RacyMs;
}

// Every folder and book directly in the download folder; a folder read
// again only when its time moved. Links to folders are no issues; a book
// that is a link counts only when it stays inside the download folder.
void CatalogueIndex::scanDownloadFolder() {
    scannedAt_ = nowMs();
    QHash<QString, Folder> before;
    before.swap(folders_);
    books_.clear();
    const QFileInfoList infos =
        QDir(folder_).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : infos) {
        const QString name = info.fileName();
        if (info.isDir() && !info.isSymLink()) {
            const auto known = before.constFind(name);
            if (known != before.constEnd() && !stale(*known, info.lastModified()))
                folders_.insert(name, *known);
            else
                readFolder(name, info.lastModified());
        } else if (info.isFile() && name.endsWith(QLatin1String(".epub")) &&
                   (!info.isSymLink() || InsideFolder(info.filePath(), folder_))) {
            books_.insert(name.chopped(5), WholeSeconds(info.lastModified()));
        }
    }
    for (auto it = issues_.begin(); it != issues_.end();)
        it = folders_.contains(it.key()) ? std::next(it) : issues_.erase(it);
}

// Folders not yet complete issues change inside (a download going on)
// without the download folder's time moving: each is looked at.
bool CatalogueIndex::rereadPendingFolders() {
    QStringList changed;
    for (auto it = folders_.cbegin(); it != folders_.cend(); ++it) {
        if (!it->complete && stale(*it, QFileInfo(folder_ + "/" + it.key()).lastModified()))
            changed << it.key();
    }
    for (const QString& name : changed)
        readFolder(name, QFileInfo(folder_ + "/" + name).lastModified());
    return !changed.isEmpty();
}

void CatalogueIndex::rebuild() {
    entries_.clear();
    for (auto it = issues_.cbegin(); it != issues_.cend(); ++it) {
        const auto book = books_.constFind(it.key());
        if (!it->complete && book == books_.cend())
            continue;
        CatalogueEntry entry = *it;
        entry.hasBook = book != books_.cend();
        if (entry.hasBook)
            entry.changed = qMax(entry.changed, *book);
        entries_.append(entry);
    }
    std::sort(entries_.begin(), entries_.end(),
              [](const CatalogueEntry& a, const CatalogueEntry& b) {
                  return NewerIssue(a.issue, b.issue);
              });
    byName_.clear();
    for (qsizetype i = 0; i < entries_.size(); ++i)
        byName_.insert(entries_[i].issue.name, i);
    leftOut_ = int(issues_.size() - entries_.size());
}
