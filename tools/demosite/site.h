#pragma once
// One generated host of the demo site, and what all of them share: the
// content model, the pictures, and the host names that pages link to.

#include "settings/bytetext.h"
#include "tools/demosite/http_message.h"
#include "tools/demosite/images.h"
#include "tools/demosite/site_model.h"

// The names of the hosts as a client knows them: the loopback "127.0.0.1:port"
// strings of the running servers, or the public names when a request came
// addressed to those (through the proxy).
struct HostNames {
    ByteText newspaper;
    ByteText archive;
    ByteText main;
    ByteText update;
    bool secure = false; // the hosts are served over TLS

    // The address pages link a host by: "http://" or "https://" + host.
    ByteText address(const ByteText& host) const {
        return (secure ? "https://" : "http://") + host;
    }

    static HostNames publicNames();
    bool contains(const ByteText& host) const {
        return host == newspaper || host == archive || host == main || host == update;
    }
};

struct SiteContext {
    const SiteModel& model;
    PictureStore& pictures;
    HostNames loopback;

    // The names to print in a page answering this request.
    HostNames namesFor(const Request& request) const;
    // The host the request was addressed to (absolute URI or Host header).
    static ByteText requestedHost(const Request& request);
};

class Site {
public:
    explicit Site(SiteContext& context) : context_(context) {}
    virtual ~Site() = default;
    virtual Response answer(const Request& request) = 0;
    // The host's name in fault rules.
    virtual ByteText hostKey() const = 0;

protected:
    // A picture from the model, or 404.
    Response pictureResponse(const ByteText& path);

    SiteContext& context_;
};
