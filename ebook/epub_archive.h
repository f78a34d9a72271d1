#pragma once
// The ZIP container of a book, written through libzip: entries from memory
// or from files, each stored or compressed. libzip writes the whole archive
// beside its target at close and then gives it the target's name, so a
// failed or interrupted write never leaves half a book in place of the old.

#include <QByteArray>
#include <QList>
#include <QString>

struct zip;

class EpubArchive {
public:
    // Stored as it is, deflated well (text), or deflated quickly (pictures).
    enum class Packing { Stored, Compressed, Quick };

    // Starts a new archive at path (an existing file is replaced at close).
    explicit EpubArchive(const QString& path);
    ~EpubArchive();
    EpubArchive(const EpubArchive&) = delete;
    EpubArchive& operator=(const EpubArchive&) = delete;

    // Entries in the order added. Each returns false on failure (error()).
    bool add(const QByteArray& name, const QByteArray& bytes, Packing packing);
    bool addFile(const QByteArray& name, const QString& file, Packing packing);

    // Writes the archive; false on failure, leaving no file behind.
    bool close();
    QString error() const { return error_; }

private:
    bool place(const QByteArray& name, struct zip_source* source, Packing packing);
    void fail(const QString& what);

    struct zip* archive_ = nullptr;
    QList<QByteArray> kept_; // the bytes of memory entries, alive until close
    QString error_;
};
