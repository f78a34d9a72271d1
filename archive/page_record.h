#pragma once
// The pages a download has saved so far, kept in the issue folder while the
// issue is unfinished: for each page its number, the issue's page count, its
// site path and the pictures it names. When a download is stopped, killed or
// ends with pages missing, the next download of the issue takes such a page
// from disk instead of the site (its pictures still go on the list). A
// complete issue leaves no record.

#include "settings/bytetext.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class PageRecord {
public:
    static constexpr char FileName[] = ".norvel-pages";

    explicit PageRecord(const QString& issueFolder = QString());

    // Reads the record an earlier download left (none: empty).
    void Load();
    // Forgets any earlier record, on disk too.
    void Remove();
    // Notes a page just written. A path or picture with a tab or line break
    // is not noted: that page is fetched again next time.
    void Add(int n, int count, const ByteText& path, const QList<ByteText>& pictures);
    // The pictures of page n when the earlier download saved it for the same
    // page count and path and its file is still there.
    std::optional<QList<ByteText>> Saved(int n, int count, const ByteText& path) const;

private:
    QString file() const { return folder_ + "/" + FileName; }
    QString pageFile(int n) const;

    QString folder_;
    QHash<int, QList<ByteText>> lines_; // page number -> count, path, pictures...
};
