#pragma once
// A saved page parsed into a tree by libxml2's HTML parser, which copes with
// the sites' markup as browsers do (unclosed cells and items, stray end
// tags). The page is Windows-1251 whatever its own meta tags claim; the tree
// holds UTF-8 text.

#include "settings/bytetext.h"

#include <QString>
#include <libxml/HTMLparser.h>
#include <optional>

class HtmlDocument {
public:
    explicit HtmlDocument(const ByteText& page);
    ~HtmlDocument();
    HtmlDocument(const HtmlDocument&) = delete;
    HtmlDocument& operator=(const HtmlDocument&) = delete;

    // The body element (or the root when the parser made none); null for a
    // page the parser could not read at all.
    xmlNode* body() const;
    // The text of the head's title, blanks collapsed; empty when there is none.
    QString title() const;

private:
    htmlDocPtr doc_ = nullptr;
};

// Small readers of the tree.
namespace html {
// The element's name in lower case ("" for other nodes).
QByteArray NameOf(const xmlNode* node);
bool IsElement(const xmlNode* node, const char* name);
// The attribute's value (UTF-8), or nothing when it is absent.
std::optional<QByteArray> Attribute(const xmlNode* node, const char* name);
// The text of a text node (UTF-8).
QByteArray TextOf(const xmlNode* node);
// Text made of blanks, tabs and line ends only (or nothing).
bool IsBlank(const QByteArray& text);
// A piece of page text ("Вести &amp; <b>слухи</b>") as plain text.
QString PlainText(const ByteText& fragment);
} // namespace html
