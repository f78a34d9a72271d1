#include "htmlview/document.h"

#include "htmlview/entities.h"
#include "htmlview/hierarchy.h"
#include "htmlview/interpret.h"
#include "htmlview/normalise.h"
#include "htmlview/tag_codes.h"
#include "htmlview/tokenizer.h"

namespace htmlview {

void HtmlDocument::SetDocument(const ByteText& text) {
    Normalized = NormaliseLineBreaks(text);
    TextColor = kBlack;
    LinkColor = kDefaultLinkColor;
    Normalized = NormaliseReferencesAndSpaces(Normalized);
    Elements = ParseTokens(Normalized);
    BackgroundImage.clear();
    InterpretAll(*this);
    mBuildHierarchy(Elements);
}

ByteText HtmlDocument::DocumentTitle() const {
    for (int i = 0; i + 1 < Elements.size(); ++i) {
        if (Elements[i].TagType == tag::Title)
            return DecodeEntities(Elements[i + 1].Text);
    }
    return "Unknown";
}

} // namespace htmlview
