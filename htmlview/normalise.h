#pragma once
// Normalisation of a new document: line breaks become spaces, named
// character references become numeric ones, runs of spaces shrink.

#include "settings/bytetext.h"

namespace htmlview {

// First step: every line feed and carriage return becomes a space.
ByteText NormaliseLineBreaks(const ByteText& text);
// Remaining steps: named references to "&#NNN;", tabs to spaces, space runs
// shortened (up to 8 become one, 9 to 16 become two).
ByteText NormaliseReferencesAndSpaces(const ByteText& text);
// Both, in order.
ByteText NormaliseDocument(const ByteText& text);

} // namespace htmlview
