#include "net/base64.h"

namespace {

constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Three bytes in, four characters out; a short group gets "=" for each
// missing byte.
void EncodeGroup(const unsigned char* bytes, qsizetype count, char* out) {
    unsigned b0 = bytes[0];
    unsigned b1 = count > 1 ? bytes[1] : 0;
    unsigned b2 = count > 2 ? bytes[2] : 0;
    out[0] = Alphabet[b0 >> 2];
    out[1] = Alphabet[((b0 & 0x03) << 4) | (b1 >> 4)];
    out[2] = count > 1 ? Alphabet[((b1 & 0x0F) << 2) | (b2 >> 6)] : '=';
    out[3] = count > 2 ? Alphabet[b2 & 0x3F] : '=';
}

} // namespace

ByteText EncodeBase64(const ByteText& text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.constData());
    const qsizetype n = text.size();
    ByteText out((n + 2) / 3 * 4, Qt::Uninitialized);
    char* dst = out.data();
    for (qsizetype i = 0; i < n; i += 3, dst += 4)
        EncodeGroup(bytes + i, n - i, dst);
    return out;
}
