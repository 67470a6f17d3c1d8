#include "pictures.h"

#include <QPixmap>
#include <QResource>
#include <optional>

#include "../pictures.h"

namespace quorvane {
namespace {

// Stored uncompressed (see CMakeLists.txt): read where it lies in the program.
std::optional<Bitmap> Find(const QString& resource) {
    const QResource found(resource);
    if (!found.isValid() || found.compressionAlgorithm() != QResource::NoCompression) return {};
    return ReadBitmap({found.data(), std::size_t(found.size())});
}

QImage Wrapped(const std::uint8_t* pixels, int width, int height, int bytesPerPixel) {
    const auto format = bytesPerPixel == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
    return QImage(pixels, width, height, qsizetype(width) * bytesPerPixel, format).copy();
}

QImage Wrapped(const Bitmap& bitmap) {
    return Wrapped(bitmap.pixels, bitmap.width, bitmap.height, bitmap.bytesPerPixel);
}

}  // namespace

QImage DrawPicture(const QString& name, QSize size, const Ink& ink) {
    const auto nth = [&name](int k) -> std::optional<Bitmap> {
        static constexpr int kHalves[] = {2, 3, 4, 6};  // drawn at 1, 1.5, 2 and 3 times
        return k < 4 ? Find(QString(":/%1-%2.raw").arg(name).arg(kHalves[k])) : std::nullopt;
    };
    const std::optional<Bitmap> bitmap = ChooseBitmap(nth, size.width(), size.height());
    if (!bitmap || size.isEmpty()) return {};
    const QImage image = bitmap->bytesPerPixel == 1
                             ? Wrapped(Inked(*bitmap, ink).data(), bitmap->width, bitmap->height, 3)
                             : Wrapped(*bitmap);
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
