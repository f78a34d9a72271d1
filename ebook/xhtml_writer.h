#pragma once
// Well-formed XHTML text in UTF-8, written element by element: names and
// attributes as given, text and values escaped, and characters XML does not
// allow (control characters, the code page's one undefined byte) left out.

#include <QByteArray>
#include <QList>
#include <QPair>

using XhtmlAttributes = QList<QPair<QByteArray, QByteArray>>;

// utf8 escaped for element content (&, <, >) or an attribute value (also ").
QByteArray EscapeXml(const QByteArray& utf8, bool attribute = false);

class XhtmlWriter {
public:
    void open(const char* name, const XhtmlAttributes& attributes = {});
    void empty(const char* name, const XhtmlAttributes& attributes = {});
    void close(const char* name);
    void text(const QByteArray& utf8);
    void raw(const QByteArray& xhtml) { out_ += xhtml; }

    const QByteArray& result() const { return out_; }

private:
    void start(const char* name, const XhtmlAttributes& attributes);

    QByteArray out_;
};
