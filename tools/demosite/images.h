#pragma once
// The pictures of the demo sites: drawn from the picture's path and the seed,
// encoded as JPEG, PNG or GIF by the path's extension, and padded with
// comment data to about the wanted size. Each picture is made once and kept.

#include "settings/bytetext.h"

#include <QHash>
#include <cstdint>

class PictureStore {
public:
    PictureStore(uint64_t seed, int approximateSize) : seed_(seed), size_(approximateSize) {}

    // The bytes of the picture at path; empty for an unknown extension.
    const ByteText& picture(const ByteText& path);
    static ByteText contentType(const ByteText& path);

private:
    ByteText make(const ByteText& path) const;

    uint64_t seed_;
    int size_;
    QHash<ByteText, ByteText> made_;
};
