#include "catalogue/index.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// The record a download keeps in an issue folder until every page is saved.
const QString UnfinishedRecord = QStringLiteral(".norvel-pages");

// A time within this of the moment it was read may still change without
// the time moving (the clock's step): such a folder is read again.
constexpr qint64 RacyMs = 100;

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// What the index needs of a directory entry, from the file system at
// once: a folder's time is looked at thousands of times a scan, and
// QFileInfo's local times cost more than the look itself.
struct Look {
    bool folder = false; // a folder, not a link to one
    bool file = false;   // a file, or a link to one
    bool link = false;
    qint64 changedMs = -1; // -1: not there
};

Look look(const QString& path) {
    Look result;
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &info) != 0)
        return result;
    result.link = S_ISLNK(info.st_mode);
    if (result.link && ::stat(name.constData(), &info) != 0)
        return result;
    result.folder = S_ISDIR(info.st_mode) && !result.link;
    result.file = S_ISREG(info.st_mode);
    result.changedMs = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1'000'000;
    return result;
}

QDateTime wholeSeconds(qint64 ms) {
    return QDateTime::fromSecsSinceEpoch(ms / 1000, Qt::UTC);
}

int savedPages(const ArchivedIssue& issue) {
    int n = 0;
    for (const IndexedPage& page : issue.pages)
        n += page.liveAddress.isEmpty() ? 1 : 0;
    return n;
}

CatalogueEntry entryOf(ArchivedIssue issue, bool complete, qint64 changedMs) {
    CatalogueEntry entry;
    entry.savedPages = savedPages(issue);
    issue.pages.clear(); // thousands of issues: keep what the feeds show
    entry.issue = issue;
    entry.complete = complete;
    entry.changed = wholeSeconds(changedMs);
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
    const qint64 listTime = look(folder_).changedMs;
    bool changed = false;
    if (listTime != listChanged_ || listTime > scannedAt_ - RacyMs) {
        scanDownloadFolder();
        listChanged_ = listTime;
        changed = true;
    }
    changed = rereadPendingFolders() || changed;
    if (changed)
        rebuild();
}

void CatalogueIndex::readFolder(const QString& name, qint64 changed) {
    Folder folder{changed, nowMs(), false};
    if (const auto issue = ReadArchivedIssue(folder_ + "/" + name)) {
        folder.complete = !QFileInfo::exists(issue->folder + "/" + UnfinishedRecord);
        issues_.insert(name, entryOf(*issue, folder.complete, changed));
    } else {
        issues_.remove(name);
    }
    folders_.insert(name, folder);
}

bool CatalogueIndex::stale(const Folder& folder, qint64 now) {
    return folder.changed != now || now > folder.readAt - RacyMs;
}

// Every folder and book directly in the download folder. A folder already
// known is kept as it is (one whose download goes on is looked at by
// rereadPendingFolders); a new one is read. Links to folders are no issues;
// a book that is a link counts only when it stays inside the download
// folder. The entries' types come with the listing, so only books and new
// folders are looked at one by one.
void CatalogueIndex::scanDownloadFolder() {
    scannedAt_ = nowMs();
    QHash<QString, Folder> before;
    before.swap(folders_);
    books_.clear();
    DIR* dir = ::opendir(QFile::encodeName(folder_).constData());
    while (const dirent* item = dir ? ::readdir(dir) : nullptr) {
        if (item->d_name[0] == '.') // hidden, and "." and ".."
            continue;
        const QString name = QFile::decodeName(item->d_name);
        const QString path = folder_ + "/" + name;
        const auto known = before.constFind(name);
        if (item->d_type == DT_DIR && known != before.constEnd()) {
            folders_.insert(name, *known);
            continue;
        }
        const bool book = name.endsWith(QLatin1String(".epub"));
        if (item->d_type != DT_DIR && item->d_type != DT_UNKNOWN && !book)
            continue;
        const Look entry = look(path);
        if (entry.folder)
            readFolder(name, entry.changedMs);
        else if (entry.file && book && (!entry.link || InsideFolder(path, folder_)))
            books_.insert(name.chopped(5), entry.changedMs);
    }
    if (dir)
        ::closedir(dir);
    for (auto it = issues_.begin(); it != issues_.end();)
        it = folders_.contains(it.key()) ? std::next(it) : issues_.erase(it);
}

void CatalogueIndex::recheckFolders() {
    QStringList changed;
    for (auto it = folders_.cbegin(); it != folders_.cend(); ++it) {
        if (look(folder_ + "/" + it.key()).changedMs != it->changed)
            changed << it.key();
    }
    for (const QString& name : changed)
        readFolder(name, look(folder_ + "/" + name).changedMs);
    if (!changed.isEmpty())
        rebuild();
}

// Folders not yet complete issues change inside (a download going on)
// without the download folder's time moving: each is looked at.
bool CatalogueIndex::rereadPendingFolders() {
    QStringList changed;
    for (auto it = folders_.cbegin(); it != folders_.cend(); ++it) {
        if (!it->complete && stale(*it, look(folder_ + "/" + it.key()).changedMs))
            changed << it.key();
    }
    for (const QString& name : changed)
        readFolder(name, look(folder_ + "/" + name).changedMs);
    return !changed.isEmpty();
}

void CatalogueIndex::rebuild() {
    entries_.clear();
    entries_.reserve(issues_.size());
    for (auto it = issues_.cbegin(); it != issues_.cend(); ++it) {
        const auto book = books_.constFind(it.key());
        if (!it->complete && book == books_.cend())
            continue;
        CatalogueEntry entry = *it;
        entry.hasBook = book != books_.cend();
        if (entry.hasBook)
            entry.changed = qMax(entry.changed, wholeSeconds(*book));
        entries_.append(entry);
    }
    std::sort(entries_.begin(), entries_.end(),
              [](const CatalogueEntry& a, const CatalogueEntry& b) {
                  return NewerIssue(a.issue, b.issue);
              });
    byName_.clear();
    newestFirst_.clear();
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        byName_.insert(entries_[i].issue.name, i);
        newestFirst_.append(&entries_[i]);
    }
    leftOut_ = int(issues_.size() - entries_.size());
}
