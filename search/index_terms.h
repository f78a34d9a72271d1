#pragma once
// How the search index stores an article page, shared by the code that
// writes the index and the code that searches it. One Xapian document per
// page: its words (title and text, Russian stems and positions for
// phrases), a term per issue, so that indexing an issue again replaces its
// pages together, a term for the source, and values the hits show. A page
// has no term of its own: nothing looks one up, and 24,000 pages' worth
// of them would make the index larger than the text it holds.

#include <QString>
#include <string>
#include <xapian.h>

namespace search {

enum Slot : Xapian::valueno {
    DateSlot = 0,   // "YYYYMMDD", so that a date range is a range of text
    NumberSlot = 1, // the issue number
    TitleSlot = 2,  // the page's title
    PathSlot = 3,   // "folder/pageN.html" under Download
    SourceSlot = 4, // "kp" or "kt"
};

inline const std::string IssuePrefix = "XI";  // + the issue folder's name
inline const std::string SourcePrefix = "XS"; // + "kp" or "kt"

// How the index holds words, kept in its metadata: Russian stems with
// positions, function words left out. An index written another way (by an
// older version) is built again, or its phrases would not match.
inline const std::string FormatKey = "norvel-format";
inline const std::string Format = "2";

inline std::string Utf8(const QString& text) {
    return text.toStdString();
}

inline QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

inline Xapian::Stem RussianStemmer() {
    return Xapian::Stem("russian");
}

// programFolder + "/search", where the index lives.
QString IndexFolder(const QString& programFolder);

} // namespace search
