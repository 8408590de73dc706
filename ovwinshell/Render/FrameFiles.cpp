#include "FrameFiles.h"

#include <cwchar>
#include <new>
#include <vector>

#include "Render/BmpImage.h"
#include "Render/Kernels/TiffHeader.h"
#include "Render/TiffFormat.h"

namespace Render {

namespace {

bool SaveTiff(const std::wstring& path, const FrameImage& image) {
    if (image.bytesPerPixel == 2) {
        const CTiffGrayImage tiff(image.width, image.height, 16);
        return tiff.Write(path, image.samples);
    }
    if (image.bytesPerPixel == 6) {
        const CTiffRGBImage tiff(image.width, image.height, 48);
        if (!tiff.Fits()) return false;
        const uint64_t pixels = uint64_t(image.width) * image.height;
        std::vector<uint16_t> rgb(size_t(pixels * 3));
        Kernels::ReverseSampleOrder48(reinterpret_cast<const uint8_t*>(image.samples), pixels,
                                      reinterpret_cast<uint8_t*>(rgb.data()));
        return tiff.Write(path, rgb.data());
    }
    return false;
}

}  // namespace

bool SaveFrame(const std::wstring& path, int32_t dataFormat, const FrameImage& image) {
    if (image.samples == nullptr) return false;
    try {
        if (dataFormat != kDataFormat8Bit) return SaveTiff(path, image);
        CBmpImage bmp(image.width, image.height, image.bytesPerPixel * 8, image.samples);
        return bmp.SaveBmp(path);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::wstring TimeStampedPath(const std::wstring& folder, const SYSTEMTIME& localTime, uint32_t counter) {
    wchar_t name[MAX_PATH] = {};
    std::swprintf(name, MAX_PATH, L"%d-%02d-%02d-%02d-%02d-%02d-%d", localTime.wYear, localTime.wMonth, localTime.wDay,
                  localTime.wHour, localTime.wMinute, localTime.wSecond, int(counter));
    std::wstring path = folder;
    if (path.empty() || (path.back() != L'\\' && path.back() != L'/')) path += L'\\';
    return path + name;
}

SYSTEMTIME LocalNow() {
    SYSTEMTIME utc{}, local{};
    GetSystemTime(&utc);
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return utc;
    if (!SystemTimeToTzSpecificLocalTime(&zone, &utc, &local)) return utc;
    return local;
}

}  // namespace Render
