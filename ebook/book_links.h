#pragma once
// How the links and pictures of an issue's pages find their place in its
// book. A link to another saved page of the issue leads to that page of the
// book (its fragment kept where the page has the id); a link to a page that
// was not saved leads to the page on the site; addresses outside the issue
// stay outside links (a path from the site's root gets the site's address);
// everything else (scripts, files outside the issue folder, pictures as
// link targets) loses its link but keeps its text. A picture is in the book
// when it is a file inside the issue folder that the book can hold.

#include "ebook/book_pictures.h"
#include "ebook/xhtml_page.h"

#include <QHash>
#include <QSet>
#include <QString>

class BookLinks : public PageReferences {
public:
    // issueFolder: where the pages and pictures lie; siteHost: the site of
    // the issue's source ("www.vedomir.ru" or "host:port"), for paths from
    // its root.
    BookLinks(const QString& issueFolder, const QByteArray& siteHost, BookPictures& pictures);

    // A file of the issue ("page3.html", any letter case) that is a page of
    // the book, with the ids that page carries.
    void addPage(const QString& fileName, const QByteArray& bookName, const QSet<QByteArray>& ids);
    // A page of the issue that was not saved, and its address on the site.
    void addMissingPage(const QString& fileName, const QByteArray& liveAddress);
    // The page being converted, for links within it ("#top").
    void setCurrentPage(const QString& fileName);

    QByteArray linkTarget(const QByteArray& href) override;
    QByteArray pictureTarget(const QByteArray& src) override;

private:
    struct Page {
        QByteArray bookName;
        QSet<QByteArray> ids;
    };
    QByteArray pageLink(const Page& page, const QString& fragment) const;
    QByteArray outsideLink(const QString& href) const;
    // A relative path inside the issue folder, cleaned; empty when it leaves
    // the folder or is no path.
    static QString pathInside(const QString& path);

    QString folder_;
    QByteArray siteHost_;
    BookPictures& pictures_;
    QHash<QString, Page> pages_;         // by lower-case file name
    QHash<QString, QByteArray> missing_; // by lower-case file name
    QString current_;
};
