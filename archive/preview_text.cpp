#include "archive/preview_text.h"

#include "processing/cut_replace.h"

ByteText PreviewText(ByteText index) {
    const ByteText fixedWidth = "table width=\"600";
    const ByteText fullWidth = "table width=\"100%";
    for (qsizetype at = index.indexOf(fixedWidth); at >= 0; at = index.indexOf(fixedWidth, at))
        index.replace(at, fixedWidth.size(), fullWidth);
    ReplaceFirst(index, "#ffffff", "#CCCCCC");
    // Only a footer in its own order is cut: with "N019051" before "&copy;"
    // a cut would repeat the text between them.
    const qsizetype copy = index.indexOf("&copy;");
    const qsizetype end = index.indexOf("N019051");
    if (copy >= 0 && end > copy)
        CutBetween(index, "&copy;", "N019051");
    return index;
}
