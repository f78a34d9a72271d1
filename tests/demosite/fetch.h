#pragma once
// Clients for the demo site tests: curl (a real, independent client) and a
// raw socket that sends exact bytes and reports what came back and how the
// connection ended, within a time limit.

#include "settings/bytetext.h"

#include <QStringList>

struct CurlResult {
    int exitCode = -1;
    ByteText output; // headers (with -i) and body
};
// Runs curl with the arguments; -s and a time limit are added.
CurlResult curl(const QStringList& arguments, int maxSeconds = 20);

struct RawResult {
    ByteText bytes;
    bool closedByServer = false; // a clean close (FIN) from the server
    bool reset = false;          // the connection was reset
    bool timedOut = false;       // the time limit passed with the connection still open
    int reads = 0;               // separate arrivals of data
    qint64 elapsedMs = 0;
};
// Connects to "127.0.0.1:port", sends request as it is, and reads until the
// server closes, the connection fails, or timeoutMs (or maxBytes) is reached.
RawResult rawExchange(const ByteText& host, const ByteText& request, int timeoutMs = 10000,
                      qsizetype maxBytes = 64 * 1024 * 1024);
// A request head as the program sends it, direct or through a proxy.
ByteText programRequest(const ByteText& host, const ByteText& path, bool throughProxy = false,
                        const ByteText& credentials = {});
// The body of a raw response (after the first blank line).
ByteText bodyOf(const ByteText& response);
// A raw GET of a path and its body; empty when the status is not 200.
ByteText getBody(const ByteText& host, const ByteText& path);
