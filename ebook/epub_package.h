#pragma once
// The text files of an EPUB 3 book beside its pages: the container file
// that names the package document, the package document (metadata, every
// file of the book, the reading order), the navigation document, the frame
// of a book page, and the book's own stylesheet, made for a reader's small
// screen rather than a desktop browser's.

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

inline constexpr char EpubMediaType[] = "application/epub+zip";
inline constexpr char BookFolder[] = "OEBPS/"; // where the package and its files lie
inline constexpr char StylesheetName[] = "norvel.css";
inline constexpr char NavigationName[] = "nav.xhtml";

QByteArray ContainerDocument();

// A book page: title and body content (XHTML, UTF-8) in the page frame.
QByteArray ContentDocument(const QString& title, const QByteArray& body);

struct NavigationEntry {
    QByteArray href;
    QString title;
};
QByteArray NavigationDocument(const QString& title, const QList<NavigationEntry>& entries);

struct BookMetadata {
    QString identifier;
    QString title;
    QString publisher;
    QDate date;         // the date; left out when invalid
    QDateTime modified; // when the book was made
};

struct ManifestItem {
    QByteArray id;
    QByteArray href;
    QByteArray mediaType;
    QByteArray properties; // "nav", "cover-image" or empty
    bool inSpine = false;  // in reading order, in the order of the items
};
QByteArray PackageDocument(const BookMetadata& metadata, const QList<ManifestItem>& items);

QByteArray BookStylesheet();
