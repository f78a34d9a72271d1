#pragma once
// Base64 of byte text, as the "Proxy-Authorization: Basic" token needs it.
// Encoding only; the program never decodes.

#include "settings/bytetext.h"

// The standard alphabet with "=" padding and no line breaks: 4 * ceil(n / 3)
// characters for n bytes. Each character of the input is one Windows-1251
// byte, so a Cyrillic login is encoded one byte per letter.
ByteText EncodeBase64(const ByteText& text);
