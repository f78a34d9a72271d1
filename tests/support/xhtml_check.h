#pragma once
// A check of the XHTML a book page is made of, strict where reading systems
// and book checkers are: well-formed, only the elements the converter may
// write, text-level content where only text may stand, list items in lists,
// rows in tables, cells in rows, no link inside a link, unique ids. Returns
// one line per fault (empty when the page passes).

#include <QByteArray>
#include <QStringList>

QStringList XhtmlFaults(const QByteArray& document);
