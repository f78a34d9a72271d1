#include "net/proxy_auth.h"

#include "net/base64.h"

bool HasStatus(const ByteText& response, const char* code) {
    if (!response.startsWith("HTTP/1.") || response.size() < 12)
        return false;
    const char minor = response.at(7);
    if (minor < '0' || minor > '9' || response.mid(8, 4) != " " + ByteText(code))
        return false;
    // The code ends the status line or is followed by its reason.
    return response.size() == 12 || response.at(12) == ' ' || response.at(12) == '\r' ||
           response.at(12) == '\n';
}

bool IsProxyAuthRefusal(const ByteText& response) {
    return response.mid(9, 16) == "407 Unauthorized" || HasStatus(response, "407");
}

ProxyCredentials::ProxyCredentials(const ByteText& login, const ByteText& password) {
    const ByteText pair = login + ":" + password;
    token_ = EncodeBase64(pair);
    const ByteText utf8 = cp1251::toUnicode(pair).toUtf8();
    if (utf8 != pair)
        utf8Token_ = EncodeBase64(utf8);
}
