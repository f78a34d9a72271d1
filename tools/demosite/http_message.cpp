#include "tools/demosite/http_message.h"

ByteText Request::header(const ByteText& name) const {
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

qsizetype completeHeadLength(const ByteText& bytes) {
    qsizetype crlf = bytes.indexOf("\r\n\r\n");
    qsizetype lf = bytes.indexOf("\n\n");
    if (crlf >= 0 && (lf < 0 || crlf + 2 <= lf))
        return crlf + 4;
    if (lf >= 0)
        return lf + 2;
    return 0;
}

std::optional<Request> parseRequest(const ByteText& head) {
    Request request;
    request.head = head;
    QList<ByteText> lines = head.split('\n');
    for (ByteText& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    if (lines.isEmpty())
        return std::nullopt;
    QList<ByteText> parts = lines[0].split(' ');
    if (parts.size() != 3 || parts[0].isEmpty() || parts[1].isEmpty() ||
        !parts[2].startsWith("HTTP/"))
        return std::nullopt;
    request.method = parts[0];
    request.target = parts[1];
    request.version = parts[2];
    ByteText rest = request.target;
    if (request.method == "CONNECT") {
        // "CONNECT host:port": the authority alone, no path.
        request.uriHost = rest;
        rest = "/";
    } else if (rest.startsWith("http://")) {
        rest = rest.mid(7);
        qsizetype slash = rest.indexOf('/');
        request.uriHost = slash < 0 ? rest : rest.left(slash);
        rest = slash < 0 ? ByteText("/") : rest.mid(slash);
        if (request.uriHost.isEmpty())
            return std::nullopt;
    } else if (!rest.startsWith('/')) {
        return std::nullopt;
    }
    qsizetype question = rest.indexOf('?');
    request.path = ByteText::fromPercentEncoding(question < 0 ? rest : rest.left(question));
    request.query = question < 0 ? ByteText() : rest.mid(question + 1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        qsizetype colon = lines[i].indexOf(':');
        if (colon <= 0)
            continue;
        request.headers.append({lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed()});
    }
    return request;
}

ByteText reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 407:
        return "Unauthorized";
    case 500:
        return "Internal Server Error";
    case 502:
        return "Bad Gateway";
    default:
        return "Status";
    }
}

Response Response::make(int status, const ByteText& contentType, const ByteText& body) {
    Response response;
    response.status = status;
    response.reason = reasonPhrase(status);
    response.addHeader("Server", "norvel-demosite");
    response.addHeader("Content-Type", contentType);
    response.body = body;
    return response;
}

Response Response::notFound() {
    return make(404, "text/html; charset=windows-1251",
                "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1>"
                "<p>The requested URL was not found on this server.</p></body></html>\r\n");
}

ByteText Response::headBytes() const {
    ByteText out = version + " " + ByteText::number(status) + " " + reason + "\r\n";
    for (const auto& [name, value] : headers)
        out += name + ": " + value + "\r\n";
    if (withLength)
        out += "Content-Length: " + ByteText::number(body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    return out;
}
