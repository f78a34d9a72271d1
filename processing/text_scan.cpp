#include "processing/text_scan.h"

#include <cstring>

namespace textscan {

qsizetype Find(const ByteText& text, const ByteText& what, qsizetype from) {
    if (text.isEmpty() || from < 0 || from >= text.size())
        return -1;
    if (what.isEmpty())
        return from;
    // The C library's substring search is several times faster on long
    // pages than a general one; pages are searched many times per rule.
    const void* at = ::memmem(text.constData() + from, size_t(text.size() - from), what.constData(),
                              size_t(what.size()));
    return at ? static_cast<const char*>(at) - text.constData() : -1;
}

ByteText CopyUntil(const ByteText& text, qsizetype from, const ByteText& terminator) {
    if (from < 0 || from >= text.size())
        return {};
    qsizetype end = Find(text, terminator, from);
    if (end < 0)
        end = text.size();
    return text.mid(from, end - from);
}

ByteText CopyThroughBeforeSecond(const ByteText& text, qsizetype from, char mark, qsizetype* last) {
    if (from < 0 || from >= text.size()) {
        if (last)
            *last = text.size() - 1;
        return {};
    }
    // The character two places after c is mark: search mark from from + 2.
    qsizetype markAt = text.indexOf(mark, from + 2);
    qsizetype c = markAt < 0 ? text.size() - 1 : markAt - 2;
    if (last)
        *last = c;
    return text.mid(from, c - from + 1);
}

} // namespace textscan
