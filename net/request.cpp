#include "net/request.h"

namespace {

const ByteText CrLf = "\r\n";
const ByteText UserAgentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";

bool NeedsEscape(unsigned char c) {
    return c <= 0x20 || c == 0x7F;
}

ByteText AuthorizationLine(const ByteText& credentials) {
    return "Proxy-Authorization: Basic " + credentials + CrLf;
}

} // namespace

ByteText BuildRequest(const RequestTarget& target) {
    const ByteText path = RequestPath(target.path);
    ByteText r;
    r.reserve(300 + path.size() + 2 * target.host.size());
    if (target.viaProxy)
        r += "GET http://" + target.host + path + " HTTP/1.0" + CrLf;
    else
        r += "GET " + path + " HTTP/1.0" + CrLf;
    r += "Accept: */*" + CrLf;
    r += "Referer: " + target.scheme + "://" + target.host + CrLf;
    r += "Accept-Language: ru" + CrLf;
    r += UserAgentLine;
    r += "Host: " + target.host + CrLf;
    r += (target.viaProxy ? "Proxy-Connection: Close" : "Connection: Close") + CrLf;
    if (target.proxyAuthorization)
        r += AuthorizationLine(target.proxyCredentials);
    r += CrLf;
    return r;
}

ByteText BuildConnectRequest(const ByteText& authority, bool proxyAuthorization,
                             const ByteText& proxyCredentials) {
    ByteText r = "CONNECT " + authority + " HTTP/1.0" + CrLf;
    r += "Host: " + authority + CrLf;
    r += UserAgentLine;
    if (proxyAuthorization)
        r += AuthorizationLine(proxyCredentials);
    return r + CrLf;
}

ByteText RequestPath(const ByteText& path) {
    static const char Hex[] = "0123456789ABCDEF";
    ByteText out;
    out.reserve(path.size());
    for (char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (NeedsEscape(c)) {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

bool IsPlainHost(const ByteText& host) {
    for (char ch : host)
        if (NeedsEscape(static_cast<unsigned char>(ch)))
            return false;
    return true;
}
