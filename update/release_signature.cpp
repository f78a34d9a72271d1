#include "update/release_signature.h"

#include <memory>
#include <openssl/evp.h>

#ifndef NORVEL_UPDATE_KEY
#error "NORVEL_UPDATE_KEY (the publisher's key in hex) comes from the build"
#endif

namespace {

constexpr qsizetype KeyBytes = 32;
constexpr qsizetype SignatureBytes = 64;

const unsigned char* Bytes(const ByteText& text) {
    return reinterpret_cast<const unsigned char*>(text.constData());
}

} // namespace

ByteText PublisherKey() {
    return ByteText::fromHex(NORVEL_UPDATE_KEY);
}

ByteText DecodedSignature(const ByteText& signature) {
    const auto decoded =
        ByteText::fromBase64Encoding(signature.trimmed(), ByteText::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != SignatureBytes)
        return {};
    return decoded.decoded;
}

bool SignedBy(const ByteText& body, const ByteText& signature, const ByteText& publicKey) {
    const ByteText raw = DecodedSignature(signature);
    if (raw.isEmpty() || publicKey.size() != KeyBytes)
        return false;
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, Bytes(publicKey), KeyBytes),
        &EVP_PKEY_free);
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          &EVP_MD_CTX_free);
    // Ed25519 hashes the message itself: no digest is named.
    if (!key || !context ||
        EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    return EVP_DigestVerify(context.get(), Bytes(raw), size_t(raw.size()), Bytes(body),
                            size_t(body.size())) == 1;
}
