#include "tools/demosite/service_files.h"

#include "tools/demosite/gif_writer.h"

namespace {

ByteText logoGif() {
    // A 120 x 40 banner: dark blue with a lighter band, as the site's logo.
    IndexedPicture picture;
    picture.width = 120;
    picture.height = 40;
    picture.palette = {qRgb(16, 32, 96), qRgb(230, 230, 240), qRgb(200, 40, 40)};
    picture.pixels.resize(120 * 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            picture.pixels[y * 120 + x] = char((y > 14 && y < 26) ? 1 : (x < 8 ? 2 : 0));
    return writeGif(picture);
}

ByteText pixelGif() {
    IndexedPicture picture;
    picture.width = 1;
    picture.height = 1;
    picture.palette = {qRgb(255, 255, 255)};
    picture.pixels = QByteArray(1, '\0');
    return writeGif(picture);
}

const char* const StyleSheet =
    "body { font-family: Arial, sans-serif; font-size: 13px; background: #fff; }\r\n"
    "h1 { font-size: 20px; } h3 { font-size: 15px; margin: 8px 0 2px 0; }\r\n"
    ".adv { border: 1px solid #ccc; background: #ffe; padding: 4px; }\r\n"
    ".lead { color: #444; margin: 0 0 6px 0; }\r\n"
    ".photo { margin: 8px 0; } .caption { font-size: 11px; color: #666; }\r\n";

} // namespace

std::optional<Response> serviceFile(const ByteText& path) {
    if (path.startsWith("/_img/") && path.endsWith(".gif"))
        return Response::make(200, "image/gif", logoGif());
    if (path.startsWith("/_cnt/"))
        return Response::make(200, "image/gif", pixelGif());
    if (path.startsWith("/_css/"))
        return Response::make(200, "text/css", StyleSheet);
    if (path.startsWith("/_js/") || path.startsWith("/_adv/"))
        return Response::make(200, "application/x-javascript",
                              "/* site scripts */\r\nfunction noop() {}\r\n");
    return std::nullopt;
}
