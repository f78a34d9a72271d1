#pragma once
// The User-Agent line every request carries, written out here once so the
// request tests check the program's bytes against their own copy.

#include "settings/bytetext.h"

inline const ByteText UserAgent =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";
