#pragma once
// The body of an answer sent with "Transfer-Encoding: chunked": pieces, each
// led by its length in hexadecimal on a line of its own (extensions after
// ";" ignored) and followed by a line end, ended by a piece of length 0.
// Trailer lines after the last piece are dropped; so is anything after them.
// Line ends may be CR LF or a lone LF.

#include "settings/bytetext.h"

struct ChunkedBody {
    enum class Outcome {
        Complete,   // the last piece arrived; bytes holds the body
        Incomplete, // the bytes end before the last piece
        Malformed,  // a length line or a piece's end is not what the framing allows
    };
    Outcome outcome = Outcome::Incomplete;
    ByteText bytes;
};

// Decodes the framed bytes that follow the header's blank line.
ChunkedBody DecodeChunked(const ByteText& framed);
