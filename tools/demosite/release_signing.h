#pragma once
// The demo site's signing key for its releases. Its public half is the key a
// build trusts unless NORVEL_UPDATE_KEY names another, so the demo site's
// releases start in a default build and in no build that sets its own key.
// This key signs nothing but the demo site's releases.

#include "settings/bytetext.h"

// The public half, 32 bytes.
ByteText DemoPublicKey();

// The Ed25519 signature over bytes, in Base64, as version.info carries it.
ByteText DemoSignature(const ByteText& bytes);
