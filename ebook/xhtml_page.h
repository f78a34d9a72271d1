#pragma once
// One saved page as the body of a book page: well-formed, valid XHTML in
// UTF-8. Scripts, styles, forms, frames and media go with their content;
// presentational elements give way to plain ones; blocks found where only
// text may stand are unwrapped; layout tables (cells holding blocks) become
// plain blocks, while tables of text stay tables; list items find a list.
// Links and pictures are resolved by the book (PageReferences); an id keeps
// its place, so a link into the page still lands there.

#include "ebook/html_document.h"

#include <QByteArray>
#include <QSet>

class PageReferences {
public:
    virtual ~PageReferences() = default;
    // A link's href as the page writes it (UTF-8) → the href in the book: a
    // page of the book (with a fragment only where that page has the id), an
    // address outside the book, or empty text for no link.
    virtual QByteArray linkTarget(const QByteArray& href) = 0;
    // A picture's src → its name in the book, or empty text when the book
    // cannot hold it (the picture is then left out).
    virtual QByteArray pictureTarget(const QByteArray& src) = 0;
};

// The body's content (without the body element itself).
QByteArray ConvertPageBody(const HtmlDocument& page, PageReferences& references);

// The ids the converted page carries, so that links from other pages can be
// checked against them before any page is converted.
QSet<QByteArray> PageIds(const HtmlDocument& page);

// An id or a link's fragment as the book writes it: letters, digits, "-" and
// "_" only (anything else becomes "_"), starting with a letter; empty for an
// empty or blank one.
QByteArray BookId(const QByteArray& raw);
