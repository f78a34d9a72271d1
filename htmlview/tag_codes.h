#pragma once
// The tag vocabulary: every upper-case tag name maps to one code, which
// drives both the element tree and the paint loop.

#include "settings/bytetext.h"

namespace htmlview {

namespace tag {
enum Code : int {
    Text = 0,
    Other = 1,
    Head = 2,
    HeadEnd = 3,
    Title = 4,
    TitleEnd = 5,
    Body = 6,
    BodyEnd = 7,
    Comment = 8,
    DashDash = 9,
    Bold = 10,
    BoldEnd = 11,
    Italic = 12,
    ItalicEnd = 13,
    Underline = 14,
    UnderlineEnd = 15,
    Paragraph = 16,
    ParagraphEnd = 17,
    Break = 18,
    Rule = 19,
    UnorderedList = 20,
    UnorderedListEnd = 21,
    OrderedList = 22,
    OrderedListEnd = 23,
    ListItem = 24,
    Table = 25,
    TableEnd = 26,
    TableHead = 27,
    TableHeadEnd = 28,
    TableBody = 29,
    TableBodyEnd = 30,
    TableFoot = 31,
    TableFootEnd = 32,
    Row = 33,
    RowEnd = 34,
    Cell = 35,
    CellEnd = 36,
    Font = 37,
    FontEnd = 38,
    Anchor = 39,
    AnchorEnd = 40,
    Image = 41,
    Blockquote = 42,
    BlockquoteEnd = 43,
    Heading = 44,
    HeadingEnd = 45,
    Big = 46,
    BigEnd = 47,
    Small = 48,
    SmallEnd = 49,
    Center = 50,
    CenterEnd = 51,
    Sub = 52,
    SubEnd = 53,
    Sup = 54,
    SupEnd = 55,
    Form = 56,
    FormEnd = 57,
    Script = 58,
    ScriptEnd = 59,
    Style = 60,
    StyleEnd = 61,
};
} // namespace tag

// The code of an upper-case tag name as mstrTagID gives it; 1 for names
// without effect.
int TagCodeOf(const ByteText& upperName);

// Codes that end the innermost open container of the element tree.
bool IsClosingCode(int code);
// Codes that open a container in the element tree.
bool IsContainerCode(int code);

} // namespace htmlview
