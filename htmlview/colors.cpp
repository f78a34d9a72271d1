#include "htmlview/colors.h"

#include "htmlview/numeric.h"

namespace htmlview {

namespace {

HtmlColor fromRgb(quint32 r, quint32 g, quint32 b) {
    return r + 256 * g + 65536 * b;
}

} // namespace

HtmlColor NamedColor(const ByteText& name) {
    struct Entry {
        const char* name;
        quint32 rgb;
    };
    static const Entry table[] = {
        {"black", 0x000000},  {"green", 0x008000},  {"silver", 0xC0C0C0}, {"lime", 0x00FF00},
        {"gray", 0x808080},   {"olive", 0x808000},  {"white", 0xFFFFFF},  {"fuchsia", 0xFF00FF},
        {"yellow", 0xFFFF00}, {"maroon", 0x800000}, {"navy", 0x000080},   {"red", 0xFF0000},
        {"blue", 0x0000FF},   {"purple", 0x800080}, {"teal", 0x008080},   {"aqua", 0x00FFFF},
    };
    const ByteText lower = LowerCase(name);
    for (const Entry& e : table) {
        if (lower == e.name)
            return fromRgb(e.rgb >> 16, (e.rgb >> 8) & 0xFF, e.rgb & 0xFF);
    }
    return kBlack;
}

HtmlColor ColorFromAttribute(const ByteText& value) {
    ByteText digits = value;
    digits.replace("#", "");
    if (HexValue(digits)) {
        // Pairs as written; a short value leaves the missing pairs short too.
        const auto pair = [](const ByteText& part) { return HexValue(part).value_or(0); };
        const qsizetype n = digits.size();
        const quint32 red = pair(digits.left(2));
        const quint32 green = n > 2 ? pair(digits.mid(2, 2)) : 0;
        const quint32 blue = pair(digits.right(std::min<qsizetype>(2, n)));
        return fromRgb(red, green, blue);
    }
    return NamedColor(digits);
}

quint32 ToRgb(HtmlColor color) {
    if (color == kButtonFace)
        return 0xF0F0F0;
    if (color == kButtonShadow)
        return 0xA0A0A0;
    color &= 0xFFFFFF;
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

} // namespace htmlview
