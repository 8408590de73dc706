#include "TiffFormat.h"

#include "Common/FileExtension.h"

namespace {

bool WriteAll(HANDLE file, const void* bytes, uint32_t count) {
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

}  // namespace

CTiffFormat::~CTiffFormat() = default;

bool CTiffFormat::Write(const std::wstring& path, const void* sampleBytes) const {
    if (!header_.valid || (header_.stripByteCount != 0 && sampleBytes == nullptr)) return false;
    const std::wstring name = WithFileExtension(path, L".tif");
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const uint8_t* header = header_.bytes.data();
    const bool written = WriteAll(file, header, Render::Kernels::kTiffFileHeaderSize) &&
                         WriteAll(file, header + Render::Kernels::kTiffFileHeaderSize, header_.directorySize) &&
                         WriteAll(file, sampleBytes, header_.stripByteCount);
    const DWORD error = written ? 0 : GetLastError();
    CloseHandle(file);
    if (!written) {
        // A cut file (disk full) is no frame: it goes, and the cause stays for the caller.
        DeleteFileW(name.c_str());
        SetLastError(error);
    }
    return written;
}

CTiffGrayImage::CTiffGrayImage(uint32_t width, uint32_t height, uint32_t bitsPerSample)
    : CTiffFormat(Render::Kernels::MakeTiffGrayHeader(width, height, bitsPerSample)) {}

CTiffGrayImage::~CTiffGrayImage() = default;

CTiffRGBImage::CTiffRGBImage(uint32_t width, uint32_t height, uint32_t bitsPerPixel)
    : CTiffFormat(Render::Kernels::MakeTiffRgbHeader(width, height, bitsPerPixel)) {}

CTiffRGBImage::~CTiffRGBImage() = default;
