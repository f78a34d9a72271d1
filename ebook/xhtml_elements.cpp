#include "ebook/xhtml_elements.h"

#include <QHash>

namespace {

using R = ElementRole;

QHash<QByteArray, ElementRule> makeRules() {
    QHash<QByteArray, ElementRule> rules;
    const auto set = [&rules](std::initializer_list<const char*> names, ElementRole role,
                              const char* output = nullptr) {
        for (const char* name : names)
            rules.insert(name, ElementRule{role, output ? output : name});
    };
    set({"script",   "noscript", "style",  "link",   "meta",     "title",    "head",     "base",
         "form",     "input",    "button", "select", "option",   "optgroup", "textarea", "fieldset",
         "legend",   "datalist", "keygen", "output", "progress", "meter",    "iframe",   "frame",
         "frameset", "noframes", "object", "embed",  "applet",   "param",    "audio",    "video",
         "source",   "track",    "canvas", "svg",    "math",     "map",      "area",     "template",
         "dialog",   "colgroup", "col",    "rp",     "basefont", "bgsound",  "wbr",      "menuitem",
         "noembed",  "isindex"},
        R::Drop);
    set({"abbr", "b", "bdi",  "cite",  "code", "dfn",    "em",  "i",   "kbd", "mark",
         "q",    "s", "samp", "small", "span", "strong", "sub", "sup", "u",   "var"},
        R::Phrasing);
    set({"tt"}, R::Phrasing, "code");
    set({"strike"}, R::Phrasing, "s");
    set({"acronym"}, R::Phrasing, "abbr");
    set({"big", "nobr", "blink", "label", "ins", "del", "bdo", "time", "data", "ruby", "rt"},
        R::Phrasing, "span");
    set({"p", "h1", "h2", "h3", "h4", "h5", "h6", "pre"}, R::TextBlock);
    set({"listing", "xmp", "plaintext"}, R::TextBlock, "pre");
    set({"div", "blockquote", "address"}, R::Block);
    set({"center", "section", "article", "aside", "header", "footer", "nav", "main", "figure",
         "figcaption", "hgroup", "details", "summary", "dl", "dt", "dd", "marquee", "multicol"},
        R::Block, "div");
    set({"ul", "ol"}, R::List);
    set({"dir", "menu"}, R::List, "ul");
    set({"li"}, R::ListItem);
    set({"a"}, R::Link);
    set({"img"}, R::Picture);
    set({"br"}, R::LineBreak);
    set({"hr"}, R::Rule);
    set({"table"}, R::Table);
    set({"tbody", "thead", "tfoot"}, R::TableGroup);
    set({"tr"}, R::TableRow);
    set({"td", "th"}, R::TableCell);
    set({"caption"}, R::Caption);
    return rules;
}

} // namespace

ElementRule RuleOf(const QByteArray& name) {
    static const QHash<QByteArray, ElementRule> rules = makeRules();
    return rules.value(name, ElementRule{});
}
