#include "pictures.h"

#include <cstdint>
#include <cstring>

namespace quorvane::win32 {
namespace {

// One embedded bitmap: its size and its pixels, one byte (grey) or three (RGB) each.
struct Embedded {
    int width = 0, height = 0, bytesPerPixel = 0;
    const std::uint8_t* pixels = nullptr;
};

std::optional<Embedded> Find(int id) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RCDATA
    if (!found) return std::nullopt;
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, found)));
    const DWORD bytes = SizeofResource(nullptr, found);
    if (!data || bytes < 4) return std::nullopt;
    Embedded picture{.width = data[0] | data[1] << 8, .height = data[2] | data[3] << 8};
    const DWORD count = DWORD(picture.width) * DWORD(picture.height);
    if (count == 0 || (bytes - 4) % count != 0) return std::nullopt;
    picture.bytesPerPixel = int((bytes - 4) / count);
    picture.pixels = data + 4;
    return picture;
}

// The first bitmap from `firstId` on that covers `size`, or the largest.
std::optional<Embedded> Choose(int firstId, SIZE size) {
    std::optional<Embedded> chosen;
    for (int id = firstId; auto next = Find(id); ++id) {
        chosen = next;
        if (next->width >= size.cx && next->height >= size.cy) break;
    }
    return chosen;
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

std::uint8_t Mix(int paper, int ink, int coverage) {
    // Rounded to the nearest; both weights are positive, so full coverage is the ink itself.
    return std::uint8_t((paper * (255 - coverage) + ink * coverage + 127) / 255);
}

// The embedded pixels as BGR rows, each padded to four bytes.
void Fill(std::uint8_t* bits, const Embedded& picture, const Ink& ink) {
    const int stride = (picture.width * 3 + 3) & ~3;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* in =
                picture.pixels + (y * picture.width + x) * picture.bytesPerPixel;
            std::uint8_t* out = bits + y * stride + x * 3;
            if (picture.bytesPerPixel == 3) {
                out[0] = in[2], out[1] = in[1], out[2] = in[0];
                continue;
            }
            const int coverage = 255 - in[0];
            out[0] = Mix(ink.paper.blue, ink.ink.blue, coverage);
            out[1] = Mix(ink.paper.green, ink.ink.green, coverage);
            out[2] = Mix(ink.paper.red, ink.ink.red, coverage);
        }
    }
}

}  // namespace

HBITMAP DrawPicture(int firstId, SIZE size, const Ink& ink) {
    const std::optional<Embedded> picture = Choose(firstId, size);
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
