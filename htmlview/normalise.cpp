#include "htmlview/normalise.h"

namespace htmlview {

ByteText NormaliseLineBreaks(const ByteText& text) {
    ByteText out = text;
    for (char& c : out) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return out;
}

ByteText NormaliseReferencesAndSpaces(const ByteText& text) {
    // "&amp;" comes late on purpose: "&amp;lt;" must stay the characters "&lt;".
    static const char* const references[][2] = {
        {"&lt;", "&#060;"},   {"&gt;", "&#062;"},  {"&quot;", "&#034;"}, {"&nbsp;", "&#032;"},
        {"&copy;", "&#169;"}, {"&deg;", "&#176;"}, {"&amp;", "&#038;"},  {"&middot;", "&#183;"},
    };
    ByteText out = text;
    if (out.contains('&')) {
        for (const auto& ref : references) {
            if (out.contains(ref[0]))
                out.replace(ref[0], ref[1]);
        }
    }
    out.replace('\t', ' ');
    if (out.contains("\r\n"))
        out.replace("\r\n", " ");
    for (int pass = 0; pass < 3 && out.contains("  "); ++pass)
        out.replace("  ", " ");
    return out;
}

ByteText NormaliseDocument(const ByteText& text) {
    return NormaliseReferencesAndSpaces(NormaliseLineBreaks(text));
}

} // namespace htmlview
