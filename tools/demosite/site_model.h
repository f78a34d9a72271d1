#pragma once
// What the demo sites publish: the newspaper's daily issues and the
// magazine's weekly issues, each with its articles and their pictures. The
// model is a pure function of the configuration; page generators read it and
// add the prose, which they draw from generators keyed the same way.

#include "settings/bytetext.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <cstdint>

struct DemoConfig {
    uint64_t seed = 1;
    int issues = 5;         // issues of each publication
    int pages = 24;         // articles per issue
    int images = 2;         // pictures per article
    int imageSize = 8000;   // approximate bytes of one picture
    int announcedIssue = 2; // magazine issue (1 = newest) offered only as an announcement; 0 none
    int shortIssue = 3;     // magazine issue with only three articles; 0 none
    ByteText updateVersion = "2.1.7";
    // The newest newspaper issue's first article shows one more picture
    // whose address holds CR LF and a header line (CrlfPictureName).
    bool crlfLink = false;
    // ... and two more whose names are longer than a file system allows
    // (LongPictureNames).
    bool longPictureNames = false;
    ByteText updateInfo;     // /version.info as it is served; empty: made from the fields below
    ByteText updateRelease;  // the release file's bytes; empty: a generated shell script
    ByteText updateFileName; // FileName in version.info; empty: norvel2-X-update.sh
    ByteText updateFileSize; // FileSize in version.info; empty: the release's true size
    ByteText updateSha256;   // SHA256 in version.info; empty: the true hash; "none": no key
    // Signature in version.info: "good" (the demo key's over the release),
    // "bad" (the demo key's over other bytes) or "none" (no such key).
    ByteText updateSignature = "good";
};

// The file name part of that picture's address.
inline const char* const CrlfPictureName = "crlf\r\nX-Injected: yes\r\n.gif";

// The file name parts of the long-named pictures: 300 Latin letters, and 130
// Cyrillic ones in Windows-1251 (260 bytes once in UTF-8).
QList<ByteText> LongPictureNames();

struct Article {
    int id = 0;
    int rubric = 0; // index into the publication's rubric list
    ByteText path;  // newspaper: "/daily/N/ID"; magazine: relative to the issue, "soft/ID/"
    ByteText title;
    ByteText annotation;
    QList<ByteText> images; // host-relative picture paths
};

struct NewspaperIssue {
    int number = 0;
    QDate date;
    QList<Article> articles;
};

struct MagazineIssue {
    int number = 0;     // running number, shown in parentheses
    int yearNumber = 0; // number within the year, shown after "№"
    QDate date;
    ByteText path; // "/2006/650/"
    ByteText coverPath;
    bool announced = false;
    QList<Article> articles;
};

// The position of item in list, found by address (item is one of its
// entries), or -1.
template <typename T> int PositionIn(const QList<T>& list, const T& item) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (&list[i] == &item)
            return int(i);
    return -1;
}

class SiteModel {
public:
    explicit SiteModel(const DemoConfig& config);

    const DemoConfig& config() const { return config_; }
    const QList<NewspaperIssue>& newspaperIssues() const { return newspaper_; }
    const QList<MagazineIssue>& magazineIssues() const { return magazine_; }

    const NewspaperIssue* newspaperIssue(int number) const;
    const MagazineIssue* magazineIssue(const ByteText& path) const;
    // Whether a path names one of the published pictures (article pictures
    // and covers).
    bool isPicture(const ByteText& path) const { return pictures_.contains(path); }

private:
    void buildNewspaper();
    void buildMagazine();
    QList<ByteText> picturePaths(const ByteText& folder, const ByteText& stem, uint64_t key,
                                 bool newspaper);

    DemoConfig config_;
    QList<NewspaperIssue> newspaper_;
    QList<MagazineIssue> magazine_;
    QHash<int, int> newspaperByNumber_;
    QHash<ByteText, int> magazineByPath_;
    QHash<ByteText, bool> pictures_;
};
