#include "BmpImage.h"

#include <objidl.h>
#include <gdiplus.h>

#include <climits>
#include <cstring>
#include <new>

#include "Common/FileExtension.h"
#include "Render/Kernels/DibPixels.h"
#include "Render/Kernels/TiffHeader.h"

namespace {

namespace Gp = Gdiplus;
namespace Flat = Gdiplus::DllExports;

constexpr uint32_t kPaletteEntries = 256;

}  // namespace

CBmpImage::CBmpImage(uint32_t width, uint32_t height, uint32_t bits, const uint16_t* samples) {
    Gp::GdiplusStartupInput input;  // version 1, no debug callback, nothing suppressed
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    status_ = Gp::GdiplusStartup(&token_, &input, nullptr);
    started_ = status_ == Gp::Ok;
    if (!started_) return;
    try {
        Build(width, height, bits, samples);
    } catch (const std::bad_alloc&) {
        status_ = Gp::OutOfMemory;
    }
}

CBmpImage::~CBmpImage() {
    if (bitmap_) Flat::GdipDisposeImage(bitmap_);
    bitmap_ = nullptr;
    pixels_ = {};
    info_ = {};
    if (started_) Gp::GdiplusShutdown(token_);
}

bool CBmpImage::Build(uint32_t width, uint32_t height, uint32_t bits, const uint16_t* samples) {
    const uint32_t samplesPerPixel = bits == 16 ? 1 : bits == 48 ? 3 : 0;
    const uint64_t stride = Render::Kernels::DibRowStride(width, samplesPerPixel);
    if (samplesPerPixel == 0 || samples == nullptr || width > INT_MAX || height > INT_MAX ||
        stride * height > UINT32_MAX) {
        status_ = Gp::InvalidParameter;
        return false;
    }

    const size_t paletteBytes = samplesPerPixel == 1 ? kPaletteEntries * sizeof(RGBQUAD) : 0;
    info_.assign(sizeof(BITMAPINFOHEADER) + paletteBytes, 0);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = LONG(width);
    header.biHeight = -LONG(height);  // rows top-down
    header.biPlanes = 1;
    header.biBitCount = WORD(samplesPerPixel * 8);
    header.biCompression = BI_RGB;
    header.biSizeImage = DWORD(stride * height);
    std::memcpy(info_.data(), &header, sizeof header);
    for (uint32_t i = 0; i < paletteBytes / sizeof(RGBQUAD); ++i) {
        const RGBQUAD grey{BYTE(i), BYTE(i), BYTE(i), 0};
        std::memcpy(info_.data() + sizeof header + i * sizeof grey, &grey, sizeof grey);
    }

    pixels_.resize(size_t(stride * height));
    Render::Kernels::PackHighBytes(samples, width, height, samplesPerPixel, pixels_.data());

    Gp::GpBitmap* bitmap = nullptr;
    status_ =
        Flat::GdipCreateBitmapFromGdiDib(reinterpret_cast<const BITMAPINFO*>(info_.data()), pixels_.data(), &bitmap);
    if (status_ != Gp::Ok) return false;
    bitmap_ = bitmap;
    return true;
}

bool CBmpImage::SaveBmp(const std::wstring& path) {
    if (!bitmap_) return false;
    try {
        const std::wstring name = WithFileExtension(path, L".bmp");
        UINT count = 0, size = 0;
        status_ = Flat::GdipGetImageEncodersSize(&count, &size);
        if (status_ != Gp::Ok) return false;
        // The codec records are followed by their strings in the same block.
        std::vector<Gp::ImageCodecInfo> codecs((size + sizeof(Gp::ImageCodecInfo) - 1) / sizeof(Gp::ImageCodecInfo));
        if (count != 0) {
            status_ = Flat::GdipGetImageEncoders(count, size, codecs.data());
            if (status_ != Gp::Ok) return false;
        }
        const CLSID* encoder = nullptr;
        for (UINT i = 0; i < count && !encoder; ++i)
            if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, L"image/bmp") == 0) encoder = &codecs[i].Clsid;
        if (!encoder) {
            status_ = Gp::UnknownImageFormat;
            return false;
        }
        status_ = Flat::GdipSaveImageToFile(bitmap_, name.c_str(), encoder, nullptr);
        if (status_ == Gp::Ok) return true;
        const DWORD error = GetLastError();
        DeleteFileW(name.c_str());  // whatever part of the file was written is no picture
        SetLastError(error);
        return false;
    } catch (const std::bad_alloc&) {
        status_ = Gp::OutOfMemory;
        return false;
    }
}
