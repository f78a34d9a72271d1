#include "tests/support/xhtml_check.h"

#include <QMap>
#include <QSet>
#include <QXmlStreamReader>

namespace {

const QSet<QString> Phrasing = {"a",   "abbr", "b",    "br",    "cite", "code",   "em",  "i",
                                "img", "q",    "s",    "small", "span", "strong", "sub", "sup",
                                "u",   "var",  "mark", "samp",  "kbd",  "dfn",    "bdi"};
const QSet<QString> TextOnly = {"p", "h1", "h2", "h3", "h4", "h5", "h6", "pre", "td", "th"};
const QSet<QString> Blocks = {"html",  "head",  "meta", "title", "link", "body",       "div",
                              "p",     "h1",    "h2",   "h3",    "h4",   "h5",         "h6",
                              "pre",   "ul",    "ol",   "li",    "hr",   "blockquote", "address",
                              "table", "tbody", "tr",   "td",    "th",   "nav"};
// Elements whose children are elements of a kind, text only when blank.
const QMap<QString, QSet<QString>> ChildrenOf = {{"ul", {"li"}},
                                                 {"ol", {"li"}},
                                                 {"table", {"tbody", "tr"}},
                                                 {"tbody", {"tr"}},
                                                 {"tr", {"td", "th"}}};

} // namespace

QStringList XhtmlFaults(const QByteArray& document) {
    QStringList faults;
    QXmlStreamReader reader(document);
    QStringList open;
    QSet<QString> ids;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QString name = reader.name().toString();
            const QString parent = open.isEmpty() ? QString() : open.last();
            if (!Phrasing.contains(name) && !Blocks.contains(name))
                faults << "element " + name;
            bool textOnly = false;
            for (const QString& outer : open)
                textOnly = textOnly || TextOnly.contains(outer) || Phrasing.contains(outer);
            if (textOnly && !Phrasing.contains(name))
                faults << name + " where only text may stand (in " + parent + ")";
            if (ChildrenOf.contains(parent) && !ChildrenOf[parent].contains(name))
                faults << name + " in " + parent;
            if ((name == "li" && parent != "ul" && parent != "ol") ||
                ((name == "td" || name == "th") && parent != "tr") ||
                (name == "tr" && parent != "table" && parent != "tbody"))
                faults << name + " in " + parent;
            if (name == "a" && open.contains("a"))
                faults << "a inside a";
            const QString id = reader.attributes().value("id").toString();
            if (!id.isEmpty() && ids.contains(id))
                faults << "id " + id + " twice";
            ids.insert(id);
            open.append(name);
            break;
        }
        case QXmlStreamReader::EndElement:
            open.removeLast();
            break;
        case QXmlStreamReader::Characters:
            if (!reader.isWhitespace() && !open.isEmpty() && ChildrenOf.contains(open.last()))
                faults << "text in " + open.last();
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        faults << "not well-formed: " + reader.errorString();
    return faults;
}
