#pragma once
// The e-book of one issue: "<issue folder>.epub" beside the folder, an EPUB 3
// book holding the issue's index page and then every saved page in the order
// of the index, the pictures they show, a navigation document titled with
// the publication, number and date, the cover (the magazine's cover picture,
// the newspaper's logo otherwise) and the metadata readers sort by. The ZIP
// starts with the "mimetype" entry, stored.

#include "settings/sites.h"

#include <QDateTime>
#include <QString>

struct EpubResult {
    bool written = false;
    QString path;  // the book
    QString error; // why no book was written (for the user)
    int pages = 0; // pages of the issue in the book (the index page not counted)
    int pictures = 0;
};

// Makes the book of the issue in issueFolder, replacing an earlier one. A
// folder without the index page the program writes is refused. sites gives
// the address of the issue's site, for links from its root.
EpubResult MakeEpub(const QString& issueFolder, const Sites& sites,
                    const QDateTime& madeAt = QDateTime::currentDateTimeUtc());

// What the user is told of a book written: where it is and what it holds.
QString BookMadeText(const EpubResult& book);

// The title of the messages about an issue's book.
QString BookMessageTitle();
