#pragma once
// Numeric character references in text, link targets and image sources.

#include "settings/bytetext.h"

namespace htmlview {

// "&#NNN;" becomes the Windows-1251 character NNN when NNN has fewer than
// four digits; longer numbers produce nothing, codes 256 to 999 a "?", and
// code 0 nothing. Line breaks and tabs become spaces.
ByteText DecodeEntities(const ByteText& text);

} // namespace htmlview
