#include "net/response_cache.h"

#include "net/request.h"
#include "net/response.h"
#include "settings/sites.h"
#include "settings/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <sys/stat.h>

namespace {

const ByteText MainSection = "Main";
const ByteText CasheSection = "Cashe";
const ByteText FilesKey = "Files";

// The stored response, or nothing when its file is lost, unreadable or empty.
std::optional<ByteText> ReadStored(const QString& path) {
    std::optional<ByteText> bytes = ReadWholeFile(path);
    if (bytes && bytes->isEmpty())
        return std::nullopt;
    return bytes;
}

// The response a stored file holds when it is whole, judged by the rules of
// a fetch: a status line, a complete header, the body its Content-Length
// names (bytes past it dropped), a 200 answer. Nothing for a file a crash or
// a full disk cut short, or one changed by hand.
std::optional<ByteText> WholeResponse(const ByteText& stored) {
    JudgedResponse judged = JudgeReceived(stored);
    if (judged.verdict != ResponseVerdict::Response || !IsCacheable(judged.response))
        return std::nullopt;
    return std::move(judged.response);
}

} // namespace

void ResponseCache::setFolder(const QString& folder) {
    flush();
    folder_ = folder;
    tableValid_ = false;
    index_.setFileName(indexPath());
    index_.setSync(FileSync::NoWait);
}

QString ResponseCache::indexPath() const {
    return folder_ + "/" + IndexFileName;
}

QString ResponseCache::entryFile(int n) const {
    return folder_ + "/" + QString::fromLatin1(EntryKey(n)) + ".tmp";
}

ByteText ResponseCache::EntryKey(int n) {
    return "cashe" + ByteText::number(n).rightJustified(5, '0');
}

ByteText ResponseCache::EntryAddress(const ByteText& host, const ByteText& path) {
    // The path as the request line spells it: a line end in a path cannot
    // split the index line. The scheme keeps an https answer apart from the
    // http answer for the same path.
    return SiteAddress(host) + RequestPath(path);
}

ByteText ResponseCache::IndexHeader(const QDateTime& created) {
    const QLocale locale = QLocale::system();
    const ByteText stamp =
        cp1251::fromUnicode(locale.toString(created.date(), QLocale::ShortFormat) + " " +
                            locale.toString(created.time(), QLocale::ShortFormat));
    return ";Norvel2 cashe database file\r\n"
           ";Created: " +
           stamp +
           "\r\n"
           ";Do not edit!\r\n"
           "\r\n"
           "\r\n"
           "[Main]\r\n"
           "[Cashe]\r\n";
}

bool ResponseCache::indexExists() const {
    // A plain stat: this runs before every store.
    struct stat st {};
    return !folder_.isEmpty() && ::stat(QFile::encodeName(indexPath()).constData(), &st) == 0 &&
           S_ISREG(st.st_mode);
}

int16_t ResponseCache::count() {
    return indexExists() ? index_.RINIi(MainSection, FilesKey) : 0;
}

std::optional<ByteText> ResponseCache::lookup(const ByteText& host, const ByteText& path) {
    const FileStamp onDisk = folder_.isEmpty() ? FileStamp() : StampOf(indexPath());
    if (!onDisk.exists)
        return std::nullopt;
    // A copy: a damaged entry leaves the table on the way.
    const QList<int> entries = table(onDisk).value(EntryAddress(host, path));
    for (int i : entries) {
        // A lost or unreadable response file is a miss for this entry; a
        // later entry for the same address may still hold a good copy.
        std::optional<ByteText> stored = ReadStored(entryFile(i));
        if (!stored)
            continue;
        if (std::optional<ByteText> whole = WholeResponse(*stored))
            return whole;
        remove(i);
    }
    return std::nullopt;
}

const QHash<ByteText, QList<int>>& ResponseCache::table(const FileStamp& onDisk) {
    if (tableValid_ && onDisk == tableStamp_)
        return table_;
    emptyTable();
    // One look at the file on disk, then the keys from memory.
    INI::Batch reading(index_);
    const int16_t n = index_.RINIi(MainSection, FilesKey);
    // Entry i is the first key named "cashe" + i, in any letter case, as a
    // read of that key would find it.
    QHash<ByteText, ByteText> addresses;
    for (const INI::KeyLine& key : index_.RINISection(CasheSection)) {
        const ByteText name = key.name.toLower();
        if (!addresses.contains(name))
            addresses.insert(name, key.value);
    }
    for (int i = 1; i <= n; ++i) {
        const ByteText address = addresses.value(EntryKey(i));
        if (address.isEmpty())
            continue;
        table_[address].append(i);
        addressOf_.insert(i, address);
    }
    tableValid_ = true;
    tableStamp_ = onDisk;
    return table_;
}

void ResponseCache::emptyTable() {
    table_.clear();
    addressOf_.clear();
}

void ResponseCache::forget(int n) {
    const auto at = addressOf_.constFind(n);
    if (at == addressOf_.cend())
        return;
    QList<int>& entries = table_[*at];
    entries.removeOne(n);
    if (entries.isEmpty())
        table_.remove(*at);
    addressOf_.erase(at);
}

void ResponseCache::tableWritten() {
    if (tableValid_)
        tableStamp_ = StampOf(indexPath());
}

void ResponseCache::remove(int n) {
    QFile::remove(entryFile(n));
    forget(n);
    index_.WInI(CasheSection, EntryKey(n), "");
    if (!pending_)
        tableWritten();
}

bool ResponseCache::store(const ByteText& host, const ByteText& path, const ByteText& response) {
    if (!IsCacheable(response) || folder_.isEmpty())
        return false;
    // An index in place means the folder is there too.
    if (!indexExists()) {
        if (!clear())
            return false;
    }
    int count = index_.RINIi(MainSection, FilesKey);
    // A full cache starts again from empty; so does a count that cannot be
    // right (a hand-edited index).
    if (count >= capacity_ || count < 0) {
        if (!clear())
            return false;
        count = 0;
    }
    ++count;
    // The response file first, and the index entry after it; a file without
    // its entry is simply overwritten later. The file is written in place: a
    // lookup judges it whole before use, so a write cut short is a miss.
    if (!WriteFileInPlace(entryFile(count), response))
        return false;
    if (!pending_) {
        pending_ = std::make_unique<INI::Batch>(index_);
        pendingSince_.start();
    }
    const ByteText address = EntryAddress(host, path);
    index_.WInI(CasheSection, EntryKey(count), address);
    index_.WInIi(MainSection, FilesKey, int16_t(count));
    if (tableValid_) {
        // As a read of the index will find it: a long address cut short.
        const ByteText asRead = INI::ValueAsRead(address);
        forget(count);
        table_[asRead].append(count);
        addressOf_.insert(count, asRead);
    }
    if (++pendingStores_ >= MaxPendingStores || pendingSince_.elapsed() >= MaxPendingMs)
        flush();
    return true;
}

void ResponseCache::flush() {
    if (!pending_)
        return;
    pending_.reset();
    pendingStores_ = 0;
    tableWritten();
}

bool ResponseCache::clear() {
    // Keys still waiting belong to entries about to be deleted: writing them
    // would cost a replace of the index just before the fresh one.
    if (pending_) {
        pending_->Discard();
        pending_.reset();
        pendingStores_ = 0;
    }
    if (folder_.isEmpty())
        return false;
    QDir dir(folder_);
    if (dir.exists()) {
        const QStringList files =
            dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : files)
            dir.remove(name);
    } else if (!QDir().mkpath(folder_)) {
        return false;
    }
    // Written even when the old index resisted deletion, so no entry of the
    // emptied cache survives in it.
    const bool written =
        WriteWholeFile(indexPath(), IndexHeader(QDateTime::currentDateTime()), FileSync::NoWait);
    emptyTable();
    tableValid_ = written;
    tableWritten();
    return written;
}
