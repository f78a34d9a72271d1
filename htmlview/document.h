#pragma once
// A document of the preview control: the normalised text, its elements,
// the anchors, and the control-level values a document's BODY can change.

#include "htmlview/html_element.h"

#include <QString>

namespace htmlview {

struct HtmlDocument {
    // Settings of the control that interpretation and layout read.
    QString DefaultFontName = QStringLiteral("Arial");
    float DefaultFontSize = 10;
    bool EnableAnchors = false;
    bool EnableScroll = false;
    // Changed by a document's BODY "BGCOLOR" and kept for later documents.
    HtmlColor BackColor = kButtonFace;

    // Reset for every document.
    HtmlColor TextColor = kBlack;
    HtmlColor LinkColor = kDefaultLinkColor;
    ByteText BackgroundImage;

    ByteText Normalized;
    HtmlElements Elements;
    QList<ByteText> AttributeNames;
    QList<ByteText> AttributeValues;
    QList<int> Anchors;

    // Normalise, tokenize, interpret and build the tree of a new document.
    void SetDocument(const ByteText& text);

    // "Unknown", or the decoded text of the element right after the first
    // TITLE among elements 0 to count - 2.
    ByteText DocumentTitle() const;
};

} // namespace htmlview
