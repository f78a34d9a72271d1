#include "tools/demosite/images.h"

#include "tools/demosite/gif_writer.h"
#include "tools/demosite/random.h"

#include <QBuffer>
#include <QImage>
#include <cmath>

namespace {

struct Scene {
    int width;
    int height;
    QRgb sky;
    QRgb ground;
    int horizon;
    struct Shape {
        bool round;
        int x, y, w, h;
        QRgb colour;
    };
    QList<Shape> shapes;
};

QRgb randomColour(Rng& rng) {
    return qRgb(rng.below(256), rng.below(256), rng.below(256));
}

Scene makeScene(Rng& rng, int width, int height) {
    Scene scene{
        width, height, randomColour(rng), randomColour(rng), height / 3 + rng.below(height / 3 + 1),
        {}};
    int shapes = rng.between(3, 8);
    for (int i = 0; i < shapes; ++i) {
        int w = rng.between(width / 10 + 1, width / 3 + 1);
        int h = rng.between(height / 10 + 1, height / 3 + 1);
        scene.shapes.append(
            {rng.chance(50), rng.below(width), rng.below(height), w, h, randomColour(rng)});
    }
    return scene;
}

QRgb blend(QRgb a, QRgb b, double t) {
    return qRgb(int(qRed(a) + (qRed(b) - qRed(a)) * t),
                int(qGreen(a) + (qGreen(b) - qGreen(a)) * t),
                int(qBlue(a) + (qBlue(b) - qBlue(a)) * t));
}

// The colour of one pixel: a sky and ground gradient with shapes over it.
QRgb scenePixel(const Scene& scene, int x, int y) {
    for (qsizetype i = scene.shapes.size() - 1; i >= 0; --i) {
        const Scene::Shape& s = scene.shapes[i];
        int dx = x - s.x;
        int dy = y - s.y;
        bool inside = s.round ? double(dx) * dx / (double(s.w) * s.w) +
                                        double(dy) * dy / (double(s.h) * s.h) <=
                                    1.0
                              : std::abs(dx) <= s.w / 2 && std::abs(dy) <= s.h / 2;
        if (inside)
            return s.colour;
    }
    if (y < scene.horizon)
        return blend(qRgb(255, 255, 255), scene.sky, double(y) / scene.horizon);
    return blend(scene.ground, qRgb(0, 0, 0),
                 0.6 * double(y - scene.horizon) / (scene.height - scene.horizon + 1));
}

QImage renderRgb(const Scene& scene) {
    QImage image(scene.width, scene.height, QImage::Format_RGB32);
    for (int y = 0; y < scene.height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < scene.width; ++x)
            line[x] = scenePixel(scene, x, y);
    }
    return image;
}

// A GIF has few colours: the scene is drawn in 128 levels of a two-colour ramp
// plus the shapes' colours, the way charts and drawings look.
IndexedPicture renderIndexed(const Scene& scene) {
    IndexedPicture picture;
    picture.width = scene.width;
    picture.height = scene.height;
    const int shapeColours = int(scene.shapes.size());
    const int ramp = 128 - shapeColours;
    for (int i = 0; i < ramp; ++i)
        picture.palette.append(blend(scene.sky, scene.ground, double(i) / (ramp - 1)));
    for (const Scene::Shape& s : scene.shapes)
        picture.palette.append(s.colour);
    picture.pixels.resize(qsizetype(scene.width) * scene.height);
    for (int y = 0; y < scene.height; ++y)
        for (int x = 0; x < scene.width; ++x) {
            int index = y * (ramp - 1) / qMax(1, scene.height - 1);
            for (int i = shapeColours - 1; i >= 0; --i) {
                const Scene::Shape& s = scene.shapes[i];
                if (std::abs(x - s.x) <= s.w / 2 && std::abs(y - s.y) <= s.h / 2) {
                    index = ramp + i;
                    break;
                }
            }
            picture.pixels[qsizetype(y) * scene.width + x] = char(index);
        }
    return picture;
}

ByteText encodeQt(const QImage& image, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

ByteText filler(Rng& rng, qsizetype size) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789 ";
    ByteText text(size, ' ');
    for (qsizetype i = 0; i < size; ++i)
        text[i] = letters[rng.below(int(sizeof(letters) - 1))];
    return text;
}

// JPEG comment segments right after the JFIF header.
ByteText padJpeg(const ByteText& jpeg, qsizetype extra, Rng& rng) {
    if (extra < 8 || jpeg.size() < 6 || uint8_t(jpeg[0]) != 0xFF || uint8_t(jpeg[1]) != 0xD8)
        return jpeg;
    qsizetype at = 2;
    if (uint8_t(jpeg[2]) == 0xFF && uint8_t(jpeg[3]) == 0xE0)
        at = 4 + ((uint8_t(jpeg[4]) << 8) | uint8_t(jpeg[5]));
    ByteText segments;
    while (extra >= 8) {
        qsizetype payload = qMin<qsizetype>(extra - 4, 65000);
        segments += "\xFF\xFE";
        segments += char(((payload + 2) >> 8) & 0xff);
        segments += char((payload + 2) & 0xff);
        segments += filler(rng, payload);
        extra -= payload + 4;
    }
    ByteText out = jpeg;
    out.insert(at, segments);
    return out;
}

uint32_t crc32(const ByteText& bytes) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    uint32_t c = 0xFFFFFFFFu;
    for (char b : bytes)
        c = table[(c ^ uint8_t(b)) & 0xff] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putBig32(ByteText& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((value >> shift) & 0xff);
}

// A text chunk before the closing IEND chunk.
ByteText padPng(const ByteText& png, qsizetype extra, Rng& rng) {
    if (extra < 24 || png.size() < 12 || !png.endsWith(ByteText("IEND\xAE\x42\x60\x82", 8)))
        return png;
    ByteText data = "Comment" + ByteText(1, '\0') + filler(rng, extra - 12 - 8);
    ByteText typed = "tEXt" + data;
    ByteText chunk;
    putBig32(chunk, uint32_t(data.size()));
    chunk += typed;
    putBig32(chunk, crc32(typed));
    ByteText out = png;
    out.insert(out.size() - 12, chunk);
    return out;
}

} // namespace

ByteText PictureStore::contentType(const ByteText& path) {
    if (path.endsWith(".jpg") || path.endsWith(".jpeg"))
        return "image/jpeg";
    if (path.endsWith(".png"))
        return "image/png";
    if (path.endsWith(".gif"))
        return "image/gif";
    return "application/octet-stream";
}

const ByteText& PictureStore::picture(const ByteText& path) {
    auto it = made_.find(path);
    if (it == made_.end())
        it = made_.insert(path, make(path));
    return *it;
}

ByteText PictureStore::make(const ByteText& path) const {
    Rng rng(seed_, {Rng::hash(path)});
    const bool cover = path.contains("/cover");
    const bool gif = path.endsWith(".gif");
    const qsizetype wanted = (cover ? 2 : 1) * qsizetype(size_) * rng.between(80, 120) / 100;
    // A GIF here stores one byte per pixel, so its area follows the wanted size.
    const int gifWidth = qBound(16, int(std::sqrt(double(wanted) * 0.8 * 1.5)), 640);
    const int width = cover ? 200 : gif ? gifWidth : rng.between(160, 320);
    const int height = cover ? 280 : width * 2 / 3;
    const Scene scene = makeScene(rng, width, height);
    if (gif) {
        ByteText gif = writeGif(renderIndexed(scene));
        return padGif(gif, wanted - gif.size(), filler(rng, 256));
    }
    if (path.endsWith(".png")) {
        ByteText png = encodeQt(renderRgb(scene), "PNG", -1);
        return padPng(png, wanted - png.size(), rng);
    }
    if (path.endsWith(".jpg") || path.endsWith(".jpeg")) {
        ByteText jpeg = encodeQt(renderRgb(scene), "JPG", 80);
        return padJpeg(jpeg, wanted - jpeg.size(), rng);
    }
    return {};
}
