#pragma once
// The GET request the download control sends: HTTP/1.0, no body, every line
// ended by CR LF, in a fixed order the sites and proxies have always seen.

#include "settings/bytetext.h"

struct RequestTarget {
    ByteText host;            // "name" or "name:port" as configured; goes into Referer and Host
    ByteText scheme = "http"; // of the site, named by the Referer ("https" for a TLS site)
    ByteText path;            // the resource path, e.g. "/daily/"
    bool viaProxy = false;    // absolute URL in the request line, Proxy-Connection
    // Adds "Proxy-Authorization: Basic " + proxyCredentials. It follows the
    // authorisation switch alone, not viaProxy.
    bool proxyAuthorization = false;
    ByteText proxyCredentials; // Base64 of login ":" password
};

// Direct:
//   GET /daily/ HTTP/1.0
//   Accept: */*
//   Referer: http://host
//   Accept-Language: ru
//   User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)
//   Host: host
//   Connection: Close
//   (blank line)
// Through a proxy the first line is "GET http://host/daily/ HTTP/1.0" and the
// seventh "Proxy-Connection: Close". The path goes in as RequestPath gives it.
// A TLS site gets "Referer: https://host"; through a proxy it is reached in a
// tunnel, so its request has the direct form.
ByteText BuildRequest(const RequestTarget& target);

// The request that opens a tunnel through a proxy to authority ("name:port"):
//   CONNECT name:port HTTP/1.0
//   Host: name:port
//   User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)
//   Proxy-Authorization: Basic credentials      (only with authorisation on)
//   (blank line)
ByteText BuildConnectRequest(const ByteText& authority, bool proxyAuthorization,
                             const ByteText& proxyCredentials);

// The path as it may stand in a request line: control characters (CR, LF,
// NUL and the rest below 0x20, and DEL) and blanks become "%XX", so a link
// taken from a page can never end the request line early or add a header
// line of its own. Every other byte, "%" and bytes above 127 included, is
// kept, so ordinary and already encoded paths go out unchanged.
ByteText RequestPath(const ByteText& path);

// Whether a host entry can go into the request as it is: no control
// characters and no blanks.
bool IsPlainHost(const ByteText& host);
