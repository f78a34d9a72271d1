#pragma once
// Attribute names and values of a tag.

#include "settings/bytetext.h"

#include <QList>

namespace htmlview {

// Fills names (upper case, trimmed, tabs removed) and values (trimmed,
// quotes dropped, not decoded) and returns how many there are. A name
// without "=" joins the next name: "<td nowrap width=5>" gives "NOWRAP WIDTH".
int mintExtractTagAttributes(const ByteText& strTag, QList<ByteText>& names,
                             QList<ByteText>& values);

} // namespace htmlview
