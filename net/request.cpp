#include "net/request.h"

ByteText BuildRequest(const RequestTarget& target) {
    const ByteText crlf = "\r\n";
    ByteText r;
    r.reserve(300 + target.path.size() + 2 * target.host.size());
    if (target.viaProxy)
        r += "GET http://" + target.host + target.path + " HTTP/1.0" + crlf;
    else
        r += "GET " + target.path + " HTTP/1.0" + crlf;
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
