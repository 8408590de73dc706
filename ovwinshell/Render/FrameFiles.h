#pragma once
// Saving one frame as a TIFF (16-bit data) or a BMP (8-bit data in the high
// byte of each sample, data format 17).
#include <windows.h>

#include <cstdint>
#include <string>

namespace Render {

// Samples as they are saved: already binned when binning is on.
struct FrameImage {
    const uint16_t* samples = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bytesPerPixel = 0;  // 2 (one sample) or 6 (blue, green, red)
};

constexpr int32_t kDataFormat8Bit = 17;

// Writes the frame under path with ".tif" or ".bmp" in place of the file's own
// extension; the writers report nothing, the result says whether a file was written.
bool SaveFrame(const std::wstring& path, int32_t dataFormat, const FrameImage& image);

// "%d-%02d-%02d-%02d-%02d-%02d-%d": local time and counter, after folder (a "\" is added when missing).
std::wstring TimeStampedPath(const std::wstring& folder, const SYSTEMTIME& localTime, uint32_t counter);

// The current local time through the time-zone conversion.
SYSTEMTIME LocalNow();

}  // namespace Render
