#pragma once
// Proxy authorisation: recognising a proxy's refusal, and the credentials in
// the two byte forms a proxy may expect.

#include "settings/bytetext.h"

// Whether a response is a proxy's refusal of the credentials: a status line
// "HTTP/1.x 407" with any reason text (proxies say "Proxy Authentication
// Required" as often as "Unauthorized"), or "407 Unauthorized" from the
// tenth character on whatever precedes it.
bool IsProxyAuthRefusal(const ByteText& response);

// The login and password for "Proxy-Authorization: Basic". The first form
// is their Windows-1251 bytes; proxies on this platform mostly keep their
// users' passwords in UTF-8, so a login or password outside ASCII gets a
// second form in UTF-8 to try when the first is refused.
class ProxyCredentials {
public:
    ProxyCredentials() = default;
    ProxyCredentials(const ByteText& login, const ByteText& password);

    // Base64 of login ":" password, Windows-1251.
    ByteText Token() const { return token_; }
    // The same in UTF-8; empty when it would not differ from Token().
    ByteText Utf8Token() const { return utf8Token_; }
    bool HasUtf8Form() const { return !utf8Token_.isEmpty(); }

    bool operator==(const ProxyCredentials&) const = default;

private:
    ByteText token_;
    ByteText utf8Token_;
};
