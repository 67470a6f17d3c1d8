#include "pictures.h"

#include <QPixmap>
#include <QResource>
#include <optional>

namespace quorvane {
namespace {

// One embedded bitmap: its width and height as two little-endian 16-bit words, then its pixels
// row by row, one byte (grey), three (RGB) or four (RGBA) each.
struct Embedded {
    QByteArray data;
    int width = 0, height = 0, bytesPerPixel = 0;
    const uchar* Pixels() const { return reinterpret_cast<const uchar*>(data.constData()) + 4; }
};

std::optional<Embedded> Find(const QString& resource) {
    const QResource found(resource);
    if (!found.isValid()) return std::nullopt;
    // Stored uncompressed: the pixels are read where they lie in the program.
    Embedded bitmap{.data =
                        found.compressionAlgorithm() == QResource::NoCompression
                            ? QByteArray::fromRawData(reinterpret_cast<const char*>(found.data()),
                                                      qsizetype(found.size()))
                            : found.uncompressedData()};
    const auto* bytes = reinterpret_cast<const uchar*>(bitmap.data.constData());
    if (bitmap.data.size() < 4) return std::nullopt;
    bitmap.width = bytes[0] | bytes[1] << 8;
    bitmap.height = bytes[2] | bytes[3] << 8;
    const qsizetype count = qsizetype(bitmap.width) * bitmap.height;
    if (count == 0 || (bitmap.data.size() - 4) % count != 0) return std::nullopt;
    bitmap.bytesPerPixel = int((bitmap.data.size() - 4) / count);
    return bitmap;
}

// Drawn at 1, 1.5, 2 and 3 times (in halves); the first that covers `size`, or the largest.
std::optional<Embedded> Choose(const QString& name, QSize size) {
    std::optional<Embedded> chosen;
    for (const int halves : {2, 3, 4, 6}) {
        auto next = Find(QString(":/%1-%2.raw").arg(name).arg(halves));
        if (!next) continue;
        chosen = std::move(next);
        if (chosen->width >= size.width() && chosen->height >= size.height()) break;
    }
    return chosen;
}

uchar Mix(int paper, int ink, int coverage) {
    // Rounded to the nearest; both weights are positive, so full coverage is the ink itself.
    return uchar((paper * (255 - coverage) + ink * coverage + 127) / 255);
}

QImage Inked(const Embedded& coverage, const Ink& ink) {
    QImage image(coverage.width, coverage.height, QImage::Format_RGB888);
    for (int y = 0; y < coverage.height; ++y) {
        const uchar* in = coverage.Pixels() + y * coverage.width;
        uchar* out = image.scanLine(y);
        for (int x = 0; x < coverage.width; ++x, out += 3) {
            const int covered = 255 - in[x];
            out[0] = Mix(ink.paper.red, ink.ink.red, covered);
            out[1] = Mix(ink.paper.green, ink.ink.green, covered);
            out[2] = Mix(ink.paper.blue, ink.ink.blue, covered);
        }
    }
    return image;
}

QImage Wrapped(const Embedded& bitmap) {
    const auto format = bitmap.bytesPerPixel == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
    return QImage(bitmap.Pixels(), bitmap.width, bitmap.height,
                  qsizetype(bitmap.width) * bitmap.bytesPerPixel, format)
        .copy();  // its own pixels, not the resource's
}

}  // namespace

QImage DrawPicture(const QString& name, QSize size, const Ink& ink) {
    const std::optional<Embedded> bitmap = Choose(name, size);
    if (!bitmap || size.isEmpty()) return {};
    const QImage image = bitmap->bytesPerPixel == 1 ? Inked(*bitmap, ink) : Wrapped(*bitmap);
    return image.size() == size
               ? image
               : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The sizes of title bars, task bars and window switchers; larger views show the installed
// icon. The two largest sizes would send 320 kB more to the display before the window shows.
QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        if (const auto image = Find(QString(":/icon-%1.raw").arg(size)))
            icon.addPixmap(QPixmap::fromImage(Wrapped(*image)));
    return icon;
}

}  // namespace quorvane
