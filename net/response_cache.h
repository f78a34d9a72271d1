#pragma once
// The response cache: a folder of raw responses plus the index "!Cashe.dat"
// in profile format, so an interrupted issue download can be resumed from disk.
//
// Index file, as created by clear():
//   ;Norvel2 cashe database file
//   ;Created: <short date> <short time>
//   ;Do not edit!
//   (two empty lines)
//   [Main]
//   [Cashe]
// then Main/Files = number of entries in use, and Cashe/cashe00001 ... one key
// per entry whose value is "http://" + host + path ("https://" for a TLS
// host, so the two never share an entry). Entry n keeps its response, byte
// for byte, in "cashe" + n (at least five digits) + ".tmp".
//
// Keying by host and path keeps two sites' same path apart; entries written
// by older versions (the path alone) never match and simply miss. The path
// is spelt as in the request line (RequestPath in net/request.h). Values are
// read back cut to 254 characters, so a longer address is never found again
// and is stored anew by each fetch. When the entry count reaches the
// capacity, the next store empties the cache and numbering starts at 1.
// Every file is written whole (beside its target, then renamed); an entry
// whose response file is missing or unreadable is a miss. A hit is checked as
// a fetch is: a file without a status line or a complete header, or with
// less body than its Content-Length, is a miss, and the entry is removed
// (its file deleted, its address blanked in the index).
//
// A download stores hundreds of responses in a row, and each replace of the
// index costs the file system a new file, so the index keeps its new keys in
// memory (lookups see them) and goes to disk after MaxPendingStores stores,
// MaxPendingMs after the first of them, at clear() and flush(), and when the
// cache is destroyed. A crash loses only those keys: their responses are
// fetched again and their files overwritten.
//
// A lookup asks a table of addresses in memory (address -> its entries),
// read from the index once and kept up to date by every store and removal,
// so it costs the same with 50 entries and with 5,000. The table is read
// again only when the index file on disk is not the one this cache last
// read or wrote (another writer, a hand edit, a deletion).

#include "settings/bytetext.h"
#include "settings/ini.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class ResponseCache {
public:
    static constexpr const char* IndexFileName = "!Cashe.dat";
    static constexpr int16_t DefaultCapacity = 400;
    static constexpr int MaxPendingStores = 50;
    static constexpr int MaxPendingMs = 2000;

    ResponseCache() = default;
    ResponseCache(const ResponseCache&) = delete;
    ResponseCache& operator=(const ResponseCache&) = delete;
    ~ResponseCache() { flush(); }

    // Stores the folder and points the index at folder + "/!Cashe.dat".
    // Creates nothing.
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }
    QString indexPath() const;

    // Capacity in entries; takes effect at the next store.
    void setCapacity(int16_t capacity) { capacity_ = capacity; }
    int16_t capacity() const { return capacity_; }

    // Main/Files when the index exists, else 0. Counts entries, not bytes.
    int16_t count();

    // The stored response for host + path, or nothing. The first entry that
    // matches and whose file holds a whole response wins; entries passed on
    // the way with a damaged file are removed.
    std::optional<ByteText> lookup(const ByteText& host, const ByteText& path);

    // Keeps a "HTTP/1.x 200 OK" response; anything else is refused. Returns
    // whether the response was stored.
    bool store(const ByteText& host, const ByteText& path, const ByteText& response);

    // Deletes every file in the folder (creating the folder when missing) and
    // writes a fresh index. Returns false when the folder or index could not
    // be written.
    bool clear();

    // Writes index keys still held in memory to disk.
    void flush();

    // "cashe" + n padded with zeros to five digits.
    static ByteText EntryKey(int n);
    // The value an entry carries in the index, the one rule of the cache's
    // keys: the site's address (SiteAddress in settings/sites.h, "http://" +
    // host, or "https://" + host for a TLS host) + path, the path spelt as
    // the request line spells it. host is the entry as RHost was given it.
    static ByteText EntryAddress(const ByteText& host, const ByteText& path);
    // The seven header lines of a new index, each ended by CR LF.
    static ByteText IndexHeader(const QDateTime& created);

    QString entryFile(int n) const;

private:
    bool indexExists() const;
    // Deletes entry n's file and blanks its address in the index.
    void remove(int n);
    // The address table, read again from the index when the file on disk
    // (as onDisk found it) changed behind this cache; entries 1 to
    // Main/Files only.
    const QHash<ByteText, QList<int>>& table(const FileStamp& onDisk);
    void tableWritten(); // the index on disk is now the one in memory
    void forget(int n);  // entry n no longer holds its address
    void emptyTable();

    QString folder_;
    int16_t capacity_ = DefaultCapacity;
    INI index_;
    std::unique_ptr<INI::Batch> pending_; // open while keys wait for the disk
    int pendingStores_ = 0;
    QElapsedTimer pendingSince_;

    // Every address of entries 1..count, with its entry numbers ascending;
    // valid while the index on disk carries tableStamp_.
    QHash<ByteText, QList<int>> table_;
    QHash<int, ByteText> addressOf_;
    bool tableValid_ = false;
    FileStamp tableStamp_;
};
