// The embedded bitmaps, chosen and inked by the shared rules, wrapped in a DIB and stretched.
#include "dib.h"

#include <cstdint>
#include <vector>

namespace quorvane::win32 {
namespace {

std::optional<Bitmap> Embedded(int id) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RCDATA
    if (!found) return std::nullopt;
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, found)));
    if (!data) return std::nullopt;
    return ReadBitmap({data, SizeofResource(nullptr, found)});
}

HBITMAP CreateBitmap24(HDC dc, int width, int height, std::uint8_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), nullptr, 0);
}

// The picture's RGB pixels (grey ones inked first) as BGR rows, each padded to four bytes.
void Fill(std::uint8_t* bits, const Bitmap& picture, const Ink& ink) {
    const bool grey = picture.bytesPerPixel == 1;
    const std::vector<std::uint8_t> inked =
        grey ? Inked(picture, ink) : std::vector<std::uint8_t>();
    const std::uint8_t* rgb = grey ? inked.data() : picture.pixels;
    const int step = grey ? 3 : picture.bytesPerPixel, stride = (picture.width * 3 + 3) & ~3;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* in = rgb + (y * picture.width + x) * step;
            std::uint8_t* out = bits + y * stride + x * 3;
            out[0] = in[2], out[1] = in[1], out[2] = in[0];
        }
    }
}

}  // namespace

HBITMAP DrawPicture(int firstId, SIZE size, const Ink& ink) {
    const std::optional<Bitmap> picture =
        ChooseBitmap([firstId](int nth) { return Embedded(firstId + nth); }, size.cx, size.cy);
    if (!picture || size.cx <= 0 || size.cy <= 0) return nullptr;
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    std::uint8_t *fromBits = nullptr, *toBits = nullptr;
    HBITMAP source = CreateBitmap24(screen, picture->width, picture->height, &fromBits);
    HBITMAP result = CreateBitmap24(screen, size.cx, size.cy, &toBits);
    if (source && result) {
        Fill(fromBits, *picture, ink);
        HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, result);
        SetStretchBltMode(to, HALFTONE);  // averages what it shrinks: no lost hairlines
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, picture->width, picture->height,
                   SRCCOPY);
        SelectObject(from, oldFrom), SelectObject(to, oldTo);
    }
    if (source) DeleteObject(source);
    DeleteDC(from), DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return result;
}

}  // namespace quorvane::win32
