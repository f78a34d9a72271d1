#include "net/proxy_auth.h"

#include "net/base64.h"
#include "net/status_line.h"

bool IsProxyAuthRefusal(const ByteText& response) {
    return response.mid(9, 16) == "407 Unauthorized" || HasStatus(response, 407);
}

ProxyCredentials::ProxyCredentials(const ByteText& login, const ByteText& password) {
    const ByteText pair = login + ":" + password;
    token_ = EncodeBase64(pair);
    const ByteText utf8 = cp1251::toUnicode(pair).toUtf8();
    if (utf8 != pair)
        utf8Token_ = EncodeBase64(utf8);
}
