#include "tools/demosite/release_signing.h"

#include <memory>
#include <openssl/evp.h>

namespace {

// The private half, public on purpose: it signs only the demo's releases.
constexpr char DemoPrivateKey[] =
    "5dce968abf2a7ffc401c10c2f24c6d63c575c5d3317d28de14189e878dbaef48";

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;

Key DemoKey() {
    const ByteText seed = ByteText::fromHex(DemoPrivateKey);
    return Key(EVP_PKEY_new_raw_private_key(EVP_PKEY_ED25519, nullptr,
                                            reinterpret_cast<const unsigned char*>(seed.data()),
                                            size_t(seed.size())),
               &EVP_PKEY_free);
}

} // namespace

ByteText DemoPublicKey() {
    const Key key = DemoKey();
    ByteText out(32, '\0');
    size_t size = size_t(out.size());
    if (!key || EVP_PKEY_get_raw_public_key(key.get(), reinterpret_cast<unsigned char*>(out.data()),
                                            &size) != 1)
        return {};
    return out;
}

ByteText DemoSignature(const ByteText& bytes) {
    const Key key = DemoKey();
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          &EVP_MD_CTX_free);
    ByteText signature(64, '\0');
    size_t size = size_t(signature.size());
    if (!key || !context ||
        EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
        EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                       reinterpret_cast<const unsigned char*>(bytes.constData()),
                       size_t(bytes.size())) != 1)
        return {};
    return signature.toBase64();
}
