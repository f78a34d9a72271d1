#include "tools/demosite/site.h"

#include "settings/sites.h"

HostNames HostNames::publicNames() {
    Sites defaults;
    return {defaults.Newspaper, defaults.MagazineArchive, defaults.MagazineMain, defaults.Update};
}

ByteText SiteContext::requestedHost(const Request& request) {
    return request.absolute() ? request.uriHost : request.header("Host");
}

HostNames SiteContext::namesFor(const Request& request) const {
    const HostNames publicNames = HostNames::publicNames();
    return publicNames.contains(requestedHost(request)) ? publicNames : loopback;
}

Response Site::pictureResponse(const ByteText& path) {
    if (!context_.model.isPicture(path))
        return Response::notFound();
    const ByteText& bytes = context_.pictures.picture(path);
    if (bytes.isEmpty())
        return Response::notFound();
    return Response::make(200, PictureStore::contentType(path), bytes);
}
