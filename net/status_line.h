#pragma once
// The status line that opens an HTTP answer, read in one place: the
// judgement of a finished fetch, the proxy's refusal of credentials, the
// proxy's answer to CONNECT and the question whether a fetch delivered its
// resource all ask this reader, so they cannot disagree on what a status
// line is.
//
// A status line is "HTTP/" digits "." digits, blank(s), three digits, then a
// blank, CR, LF or the end of the bytes. More than one blank before the code
// is let pass, as careless servers send it: such an answer is still HTTP and
// is handed on. But only a well-formed line (one digit each side of the dot,
// one blank) is taken at its word about what happened: a refusal or a
// success read from a garbled line would send the run the wrong way.

#include "settings/bytetext.h"

#include <optional>

struct StatusLine {
    // Whether the bytes begin with a status line at all.
    bool present = false;
    // One digit each side of the dot and a single blank before the code.
    bool wellFormed = false;
    // The version of a well-formed line; 0 on any other.
    int major = 0;
    int minor = 0;
    // The three digits, 0..999, of any line present.
    int code = 0;
};

// The status line the bytes begin with. Only the first line is looked at,
// and nothing after the code (the reason) is read.
StatusLine ReadStatusLine(const ByteText& bytes);

// The code of a well-formed status line; nothing for any other bytes.
std::optional<int> StatusCodeOf(const ByteText& bytes);

// Whether the bytes begin with a well-formed 2xx status line of any
// version: a proxy opened its tunnel, a fetch delivered its resource.
bool IsSuccessStatus(const ByteText& bytes);

// Whether the bytes begin with a well-formed HTTP/1.x status line with this
// code, with or without a reason. The requests are HTTP/1.0, so a line of
// another version is no answer to read a refusal from.
bool HasStatus(const ByteText& bytes, int code);

// Whether the bytes so far could still grow into a status line: no line end
// yet, and what there is starts "HTTP/" or is a start of it.
bool IsStatusLineCutShort(const ByteText& bytes);
