#pragma once
// Three small text routines shared by the processing script, the page
// navigation, the index builders and the archive browser. Every search is
// exact, case-sensitive and starts at the beginning of the text.

#include "settings/bytetext.h"

// Replaces the first occurrence of find in text by replacement; leaves text
// alone when find does not occur.
void ReplaceFirst(ByteText& text, const ByteText& find, const ByteText& replacement);

// When both start and end occur, text becomes what precedes the first start
// followed by what follows the first end. When the first end lies before the
// first start, the text between them comes out twice: callers that care check
// the order first. Text is left alone when either is missing.
void CutBetween(ByteText& text, const ByteText& start, const ByteText& end);

// Turns a bit of title markup into plain text: "&quot;" to a double quote,
// "&nbsp;" to a blank, tab, CR and LF to blanks; every "<", ">" and "/" and
// every "h1", "h2", "h3" removed; blanks trimmed at both ends. The result is
// returned and left in text.
ByteText TitleToPlainText(ByteText& text);
