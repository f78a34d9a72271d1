#pragma once
// The publisher's signature over a release: version.info's Signature holds,
// in Base64, an Ed25519 signature over the release file's bytes. Only the
// public key compiled into the program (CMake option NORVEL_UPDATE_KEY)
// can make a release start: nothing the update server sends, in
// version.info or in the release, changes which key is trusted.

#include "settings/bytetext.h"

// The compiled-in public key, 32 bytes.
ByteText PublisherKey();

// The 64 bytes of an Ed25519 signature that signature holds in strict
// Base64 (blanks around it allowed), or empty when it holds anything else.
ByteText DecodedSignature(const ByteText& signature);

// Whether signature (Base64) is publicKey's signature over body.
bool SignedBy(const ByteText& body, const ByteText& signature,
              const ByteText& publicKey = PublisherKey());
