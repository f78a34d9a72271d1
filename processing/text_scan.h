#pragma once
// Searching and field copying on byte text, shared by the scanners and the
// index builders. Positions are 0-based here; a search that finds nothing
// gives -1. Every copy is bounded by the end of its text, so a terminator
// that never comes ends the copy there instead of running on.

#include "settings/bytetext.h"

namespace textscan {

// First occurrence of what at or after from. An empty what is found at from
// in a non-empty text, as the classic InStr finds it; an empty text holds
// nothing.
qsizetype Find(const ByteText& text, const ByteText& what, qsizetype from = 0);

// The characters from `from` on up to but not including the next occurrence
// of terminator; the rest of the text when it never comes.
ByteText CopyUntil(const ByteText& text, qsizetype from, const ByteText& terminator);

// The characters from `from` on, at least one, up to and including the first
// character c for which the character two places after c is mark. This reads
// the value of an attribute written as ="value"> without its quotes. *last
// receives the position of c (or the last character of the text).
ByteText CopyThroughBeforeSecond(const ByteText& text, qsizetype from, char mark,
                                 qsizetype* last = nullptr);

} // namespace textscan
