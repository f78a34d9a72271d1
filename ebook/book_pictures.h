#pragma once
// The pictures of a book: each picture file of the issue folder that a page
// shows, once, under a name of its own in the book whose ending matches what
// the file really holds (the magazine's cover.jpg may be a GIF). JPEG, PNG
// and GIF go in as they are; any other picture Qt can read goes in as PNG;
// anything else stays out.

#include "processing/picture_type.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

struct BookPicture {
    QString file;         // the picture in the issue folder
    QByteArray bookName;  // "img/name.ext" inside the book
    QByteArray mediaType; // image/jpeg, image/png or image/gif
    QByteArray converted; // PNG bytes of a converted picture; empty: the file as it is
};

class BookPictures {
public:
    // The book name of the picture file (added on first use), or empty text
    // when it cannot be in the book.
    QByteArray add(const QString& file);

    const QList<BookPicture>& pictures() const { return pictures_; }

private:
    QByteArray uniqueName(const QString& file, const QByteArray& extension);

    QList<BookPicture> pictures_;
    QHash<QString, QByteArray> byFile_; // canonical path → book name ("" for refused)
    QSet<QByteArray> taken_;            // book names in use, in lower case
};
