#include "ebook/html_document.h"

#include <limits>

namespace {

// Recovery on, every report off, no network. The page reaches the parser as
// UTF-8 converted here, whatever its own meta tags claim: the parser's own
// Windows-1251 decoder gives up for good at the one byte the code page lacks.
constexpr int ParseOptions = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                             HTML_PARSE_NONET | HTML_PARSE_IGNORE_ENC | HTML_PARSE_COMPACT;

xmlNode* findElement(xmlNode* node, const char* name) {
    for (; node; node = node->next) {
        if (html::IsElement(node, name))
            return node;
        if (node->type == XML_ELEMENT_NODE)
            if (xmlNode* inside = findElement(node->children, name))
                return inside;
    }
    return nullptr;
}

// All the text inside node, blanks collapsed.
QString collapsedText(xmlNode* node) {
    if (!node)
        return {};
    xmlChar* text = xmlNodeGetContent(node);
    const QString result = QString::fromUtf8(reinterpret_cast<const char*>(text)).simplified();
    xmlFree(text);
    return result;
}

} // namespace

HtmlDocument::HtmlDocument(const ByteText& page) {
    const QByteArray utf8 = cp1251::toUnicode(page).toUtf8();
    if (utf8.size() > std::numeric_limits<int>::max())
        return;
    doc_ = htmlReadMemory(utf8.constData(), int(utf8.size()), nullptr, "UTF-8", ParseOptions);
}

HtmlDocument::~HtmlDocument() {
    if (doc_)
        xmlFreeDoc(doc_);
}

xmlNode* HtmlDocument::body() const {
    if (!doc_)
        return nullptr;
    xmlNode* root = xmlDocGetRootElement(doc_);
    if (!root)
        return nullptr;
    xmlNode* body = findElement(root, "body");
    return body ? body : root;
}

QString HtmlDocument::title() const {
    xmlNode* root = doc_ ? xmlDocGetRootElement(doc_) : nullptr;
    return collapsedText(root ? findElement(root, "title") : nullptr);
}

namespace html {

QByteArray NameOf(const xmlNode* node) {
    if (!node || node->type != XML_ELEMENT_NODE || !node->name)
        return {};
    return QByteArray(reinterpret_cast<const char*>(node->name)).toLower();
}

bool IsElement(const xmlNode* node, const char* name) {
    return node && node->type == XML_ELEMENT_NODE && node->name &&
           qstricmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

std::optional<QByteArray> Attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value)
        return std::nullopt;
    QByteArray result(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return result;
}

QByteArray TextOf(const xmlNode* node) {
    return node && node->content ? QByteArray(reinterpret_cast<const char*>(node->content))
                                 : QByteArray();
}

bool IsBlank(const QByteArray& text) {
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f')
            return false;
    }
    return true;
}

QString PlainText(const ByteText& fragment) {
    const HtmlDocument document("<html><body>" + fragment + "</body></html>");
    return collapsedText(document.body());
}

} // namespace html
