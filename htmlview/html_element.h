#pragma once
// One token of a document: a tag or a run of text, with what interpretation
// and layout attach to it. Indices and counts are plain ints, so documents
// past 32,767 characters or elements are handled whole.

#include "settings/bytetext.h"

#include <QList>

namespace htmlview {

// A colour as the documents and the control store it: red in the low byte,
// then green, then blue. Values with the top bit set name system colours.
using HtmlColor = quint32;

inline constexpr HtmlColor kButtonFace = 0x8000000F;
inline constexpr HtmlColor kButtonShadow = 0x80000010;
inline constexpr HtmlColor kBlack = 0x000000;
inline constexpr HtmlColor kWhite = 0xFFFFFF;
inline constexpr HtmlColor kDefaultLinkColor = 0xFF0000; // blue

struct HtmlElement {
    ByteText Text;
    bool IsTag = false;
    int TagType = 0;
    ByteText AnchorName;
    QList<ByteText> Words;
    ByteText FontName;
    float FontSize = 0;
    HtmlColor Color = 0;
    ByteText Href;
    ByteText TitleText;
    int Top = 0;
    int Left = 0;
    int Bottom = 0;
    int Right = 0;
    int Indent = 0;
    bool AlignCenter = false;
    bool AlignRight = false;
    ByteText Src;
    ByteText Alt;
    int ImageWidth = 0;
    int ImageHeight = 0;
    int HSpace = 0;
    int VSpace = 0;
    bool ListNumbered = false;
    int ListNumber = 0;
    float TableWidth = 0;
    int TablePixelWidth = 0;
    float CellWidth = 0;
    int CellPixelWidth = 0;
    int Border = 0;
    int CellPadding = 0;
    int CellSpacing = 0;
    int ColSpan = 0;
    int ChildCount = 0;
    QList<int> Children;
    int Parent = 0;
    int SiblingIndex = 0;
    int ElementIndex = 0;
};

using HtmlElements = QList<HtmlElement>;

} // namespace htmlview
