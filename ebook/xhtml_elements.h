#pragma once
// What becomes of each HTML element in a book page. The pages were written
// for browsers of their day: presentational elements (font, center), layout
// tables, scripts and forms. A book page must be valid XHTML, so every
// element is kept, renamed, unwrapped (its content kept, the element not) or
// dropped with its content, and the converter places it by its role.

#include <QByteArray>

enum class ElementRole {
    Drop,       // gone with everything inside: scripts, forms, frames, media
    Unwrap,     // its content stays in its place: font, unknown elements
    Phrasing,   // text-level: b, i, span, ...
    TextBlock,  // a block holding text only: p, h1 to h6, pre
    Block,      // a block holding blocks: div, blockquote, center, ...
    List,       // ul, ol
    ListItem,   // li
    Link,       // a
    Picture,    // img
    LineBreak,  // br
    Rule,       // hr
    Table,      // table
    TableGroup, // tbody, thead, tfoot
    TableRow,   // tr
    TableCell,  // td, th
    Caption,    // caption
};

struct ElementRule {
    ElementRole role = ElementRole::Unwrap;
    const char* output = nullptr; // the element written (null: as the role says)
};

// The rule for an element by its lower-case HTML name.
ElementRule RuleOf(const QByteArray& name);
