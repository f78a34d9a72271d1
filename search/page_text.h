#pragma once
// The readable text of a saved page for the search index: the page's
// Windows-1251 bytes decoded, the head, scripts, styles, comments and tags
// dropped, entities resolved, white space collapsed, and the letters folded
// as searching treats them («ё» as «е»; the index folds case itself).

#include "settings/bytetext.h"

#include <QString>

namespace search {

// The body text of a page, folded.
QString PageText(const ByteText& page);

// Markup to plain text: tags become blanks, entities characters. Not folded.
QString PlainText(const ByteText& html);

// «ё» and «Ё» as «е» and «Е», which a reader rarely types.
QString FoldYo(QString text);

} // namespace search
