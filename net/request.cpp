#include "net/request.h"

namespace {

bool NeedsEscape(unsigned char c) {
    return c <= 0x20 || c == 0x7F;
}

} // namespace

ByteText BuildRequest(const RequestTarget& target) {
    const ByteText crlf = "\r\n";
    const ByteText path = RequestPath(target.path);
    ByteText r;
    r.reserve(300 + path.size() + 2 * target.host.size());
    if (target.viaProxy)
        r += "GET http://" + target.host + path + " HTTP/1.0" + crlf;
    else
        r += "GET " + path + " HTTP/1.0" + crlf;
    r += "Accept: */*" + crlf;
    r += "Referer: http://" + target.host + crlf;
    r += "Accept-Language: ru" + crlf;
    r += "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)" + crlf;
    r += "Host: " + target.host + crlf;
    r += (target.viaProxy ? "Proxy-Connection: Close" : "Connection: Close") + crlf;
    if (target.proxyAuthorization)
        r += "Proxy-Authorization: Basic " + target.proxyCredentials + crlf;
    r += crlf;
    return r;
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
