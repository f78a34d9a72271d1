#include "ebook/xhtml_page.h"

#include "ebook/xhtml_elements.h"
#include "ebook/xhtml_writer.h"

#include <cctype>

namespace {

using R = ElementRole;

// Where a node stands, which decides what may be written there.
enum class Place {
    Flow,      // blocks and text: body, div, li, ...
    Phrasing,  // text and text-level elements only: p, h1, span, a, a table cell
    List,      // list items only: ul, ol
    TableBody, // rows (or row groups) only: a kept table
    TableRow,  // cells only
};

ElementRole roleOf(const xmlNode* node) {
    return RuleOf(html::NameOf(node)).role;
}

bool isText(const xmlNode* node) {
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

// Nodes that may stand anywhere since they leave nothing behind: blank
// text, comments, dropped elements.
bool leavesNothing(const xmlNode* node) {
    if (isText(node))
        return html::IsBlank(html::TextOf(node));
    return node->type != XML_ELEMENT_NODE || roleOf(node) == R::Drop;
}

// Whether everything inside node may stand in a text-only place.
bool textOnly(const xmlNode* node) {
    for (const xmlNode* c = node->children; c; c = c->next) {
        if (c->type != XML_ELEMENT_NODE)
            continue;
        switch (roleOf(c)) {
        case R::Drop:
        case R::Picture:
        case R::LineBreak:
            break;
        case R::Phrasing:
        case R::Link:
        case R::Unwrap:
            if (!textOnly(c))
                return false;
            break;
        default:
            return false;
        }
    }
    return true;
}

bool simpleRow(const xmlNode* row) {
    for (const xmlNode* c = row->children; c; c = c->next) {
        if (!leavesNothing(c) && !(roleOf(c) == R::TableCell && textOnly(c)))
            return false;
    }
    return true;
}

bool simpleRowGroup(const xmlNode* group) {
    for (const xmlNode* c = group->children; c; c = c->next) {
        if (!leavesNothing(c) && !(roleOf(c) == R::TableRow && simpleRow(c)))
            return false;
    }
    return true;
}

// A table of text: rows of cells holding text only, either all straight in
// the table or all in tbody groups. Anything else lays a page out and is
// written as plain blocks instead.
bool simpleTable(const xmlNode* table) {
    int rows = 0, groups = 0;
    for (const xmlNode* c = table->children; c; c = c->next) {
        if (leavesNothing(c))
            continue;
        if (roleOf(c) == R::TableRow && simpleRow(c))
            ++rows;
        else if (html::IsElement(c, "tbody") && simpleRowGroup(c))
            ++groups;
        else
            return false;
    }
    return (rows > 0) != (groups > 0);
}

QByteArray safeClass(const QByteArray& raw) {
    QByteArrayList kept;
    for (const QByteArray& token : raw.simplified().split(' ')) {
        bool plain = !token.isEmpty();
        for (char c : token)
            plain = plain && (std::isalnum(uchar(c)) || c == '-' || c == '_');
        if (plain)
            kept.append(token);
    }
    return kept.join(' ');
}

// A cell's span: 1 to 1000 columns, 0 to 65534 rows.
std::optional<QByteArray> span(const xmlNode* cell, const char* name, int least, int most) {
    const auto value = html::Attribute(cell, name);
    bool number = false;
    const int n = value ? value->trimmed().toInt(&number) : 0;
    if (!number || n < least || n > most)
        return std::nullopt;
    return QByteArray::number(n);
}

// The raw id of an element: its id, or an anchor's name.
QByteArray rawId(const xmlNode* node) {
    auto id = html::Attribute(node, "id");
    if ((!id || id->trimmed().isEmpty()) && html::IsElement(node, "a"))
        id = html::Attribute(node, "name");
    return id.value_or(QByteArray());
}

void collectIds(const xmlNode* parent, QSet<QByteArray>& ids) {
    for (const xmlNode* c = parent->children; c; c = c->next) {
        if (c->type != XML_ELEMENT_NODE || roleOf(c) == R::Drop)
            continue;
        const QByteArray id = BookId(rawId(c));
        if (!id.isEmpty())
            ids.insert(id);
        collectIds(c, ids);
    }
}

class PageConverter {
public:
    explicit PageConverter(PageReferences& references) : references_(references) {}

    QByteArray convert(const xmlNode* body) {
        children(body, Place::Flow);
        return out_.result();
    }

private:
    void children(const xmlNode* parent, Place place) {
        for (const xmlNode* c = parent->children; c; c = c->next) {
            if (isText(c))
                text(html::TextOf(c), place);
            else if (c->type == XML_ELEMENT_NODE)
                element(c, place);
        }
    }

    void text(const QByteArray& utf8, Place place) {
        if (html::IsBlank(utf8)) {
            out_.text(utf8);
        } else if (place == Place::List) {
            out_.open("li");
            out_.text(utf8);
            out_.close("li");
        } else if (place == Place::Flow || place == Place::Phrasing) {
            out_.text(utf8);
        }
    }

    void element(const xmlNode* node, Place place) {
        const ElementRule rule = RuleOf(html::NameOf(node));
        if (rule.role == R::Drop)
            return;
        // A list holds items only: anything else gets an item of its own.
        if (place == Place::List && rule.role != R::ListItem &&
            !(rule.role == R::Unwrap && rawId(node).isEmpty())) {
            out_.open("li");
            element(node, Place::Flow);
            out_.close("li");
            return;
        }
        switch (rule.role) {
        case R::Drop:
            return;
        case R::Unwrap:
            anchor(node, place);
            children(node, place);
            return;
        case R::Phrasing:
            wrap(node, rule.output, Place::Phrasing);
            return;
        case R::TextBlock:
            block(node, rule.output, place, Place::Phrasing);
            return;
        case R::Block:
            block(node, rule.output, place, Place::Flow);
            return;
        case R::List:
            block(node, rule.output, place, Place::List);
            return;
        case R::ListItem:
            block(node, place == Place::List ? "li" : "div", place, Place::Flow);
            return;
        case R::Link:
            link(node);
            return;
        case R::Picture:
            picture(node, place);
            return;
        case R::LineBreak:
            out_.empty("br", common(node));
            return;
        case R::Rule:
            if (place == Place::Phrasing)
                anchor(node, place);
            else
                out_.empty("hr", common(node));
            return;
        case R::Table:
            if (place != Place::Phrasing && simpleTable(node))
                wrap(node, "table", Place::TableBody);
            else
                block(node, "div", place, Place::Flow);
            return;
        case R::TableGroup:
        case R::TableRow:
        case R::TableCell:
        case R::Caption:
            tablePart(node, rule, place);
            return;
        }
    }

    void wrap(const xmlNode* node, const char* name, Place inside,
              XhtmlAttributes attributes = {}) {
        attributes += common(node);
        out_.open(name, attributes);
        children(node, inside);
        out_.close(name);
    }

    // A block; where only text may stand, its content without it, ended by a
    // line break so that the text of two blocks does not run together.
    void block(const xmlNode* node, const char* name, Place place, Place inside) {
        if (place != Place::Phrasing) {
            wrap(node, name, inside);
            return;
        }
        anchor(node, place);
        children(node, Place::Phrasing);
        out_.empty("br");
    }

    // Rows and cells of a kept table stay; those of a layout table become
    // plain blocks (row groups leave only their rows).
    void tablePart(const xmlNode* node, const ElementRule& rule, Place place) {
        if (rule.role == R::TableGroup && place == Place::TableBody) {
            wrap(node, rule.output, Place::TableBody);
        } else if (rule.role == R::TableRow && place == Place::TableBody) {
            wrap(node, "tr", Place::TableRow);
        } else if (rule.role == R::TableCell && place == Place::TableRow) {
            XhtmlAttributes spans;
            if (auto n = span(node, "colspan", 1, 1000))
                spans.append({"colspan", *n});
            if (auto n = span(node, "rowspan", 0, 65534))
                spans.append({"rowspan", *n});
            wrap(node, rule.output, Place::Phrasing, spans);
        } else if (rule.role == R::TableGroup && place == Place::Flow) {
            anchor(node, place);
            children(node, Place::Flow);
        } else {
            block(node, "div", place, Place::Flow);
        }
    }

    void link(const xmlNode* node) {
        const auto href = html::Attribute(node, "href");
        const QByteArray target =
            href && !insideLink_ ? references_.linkTarget(href->trimmed()) : QByteArray();
        if (target.isEmpty()) {
            const XhtmlAttributes attributes = common(node);
            if (attributes.isEmpty()) {
                children(node, Place::Phrasing);
            } else {
                out_.open("span", attributes);
                children(node, Place::Phrasing);
                out_.close("span");
            }
            return;
        }
        insideLink_ = true;
        wrap(node, "a", Place::Phrasing, {{"href", target}});
        insideLink_ = false;
    }

    void picture(const xmlNode* node, Place place) {
        const auto src = html::Attribute(node, "src");
        const QByteArray target = src ? references_.pictureTarget(src->trimmed()) : QByteArray();
        if (target.isEmpty()) {
            anchor(node, place);
            return;
        }
        XhtmlAttributes attributes{{"src", target},
                                   {"alt", html::Attribute(node, "alt").value_or(QByteArray())}};
        attributes += common(node);
        out_.empty("img", attributes);
    }

    // The id of an element that leaves no element of its own behind.
    void anchor(const xmlNode* node, Place place) {
        if (place != Place::Flow && place != Place::Phrasing)
            return;
        const QByteArray id = claimId(node);
        if (!id.isEmpty()) {
            out_.open("span", {{"id", id}});
            out_.close("span");
        }
    }

    QByteArray claimId(const xmlNode* node) {
        const QByteArray id = BookId(rawId(node));
        if (id.isEmpty() || written_.contains(id))
            return {};
        written_.insert(id);
        return id;
    }

    XhtmlAttributes common(const xmlNode* node) {
        XhtmlAttributes attributes;
        if (const QByteArray id = claimId(node); !id.isEmpty())
            attributes.append({"id", id});
        if (const QByteArray c = safeClass(html::Attribute(node, "class").value_or(""));
            !c.isEmpty())
            attributes.append({"class", c});
        if (const auto title = html::Attribute(node, "title"); title && !html::IsBlank(*title))
            attributes.append({"title", *title});
        return attributes;
    }

    PageReferences& references_;
    XhtmlWriter out_;
    QSet<QByteArray> written_;
    bool insideLink_ = false;
};

} // namespace

QByteArray ConvertPageBody(const HtmlDocument& page, PageReferences& references) {
    const xmlNode* body = page.body();
    return body ? PageConverter(references).convert(body) : QByteArray();
}

QSet<QByteArray> PageIds(const HtmlDocument& page) {
    QSet<QByteArray> ids;
    if (const xmlNode* body = page.body())
        collectIds(body, ids);
    return ids;
}

QByteArray BookId(const QByteArray& raw) {
    const QByteArray trimmed = raw.trimmed();
    if (trimmed.isEmpty())
        return {};
    QByteArray id;
    id.reserve(trimmed.size() + 1);
    for (char c : trimmed)
        id += std::isalnum(uchar(c)) || c == '-' || c == '_' ? c : '_';
    if (!std::isalpha(uchar(id[0])))
        id.prepend('n');
    return id;
}
