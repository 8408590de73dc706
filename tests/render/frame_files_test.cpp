// The frame files under Wine: TIFF sizes, header fields and samples read back
// byte by byte, BMP files of 8-bit data read back through their own headers,
// the file-name rules and the refusal of frames the TIFF fields cannot hold.
// FrameFiles.ForTheReaders leaves files and their expected samples in
// frame_files/readers for check_frame_files.sh, which reads them with libtiff
// and ImageMagick.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Render/BmpImage.h"
#include "Render/FrameFiles.h"
#include "Render/TiffFormat.h"

namespace {

using namespace Render;

const std::wstring kFolder = L"frame_files\\";

std::vector<uint8_t> ReadAll(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    bytes.resize(size_t(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) || read != bytes.size()))
        bytes.clear();
    CloseHandle(file);
    return bytes;
}

bool WriteAll(const std::wstring& path, const void* data, size_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, data, DWORD(size), &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return int64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

uint32_t Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t Le32(const std::vector<uint8_t>& b, size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }

std::vector<uint16_t> RandomSamples(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint16_t> samples(count);
    for (uint16_t& s : samples) s = uint16_t(random());
    return samples;
}

// Finds the value of a one-count directory entry by tag; ~0u when absent.
uint32_t TiffField(const std::vector<uint8_t>& file, uint32_t tag) {
    const uint32_t directory = Le32(file, 4);
    const uint32_t entries = Le16(file, directory);
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t at = directory + 2 + 12 * i;
        if (Le16(file, at) == tag) return Le16(file, at + 2) == 3 ? Le16(file, at + 8) : Le32(file, at + 8);
    }
    return ~0u;
}

// A BMP file decoded through its own headers into top-down rows of pixel
// bytes (palette indices resolved to grey values for 8-bit files).
struct Bmp {
    uint32_t bitCount = 0;
    int32_t width = 0, height = 0;  // height as stored (negative: top-down)
    std::vector<uint8_t> pixels;    // width * bytes per pixel per row, no padding
    bool paletteIsGrey = true;
};

Bmp DecodeBmp(const std::vector<uint8_t>& file) {
    Bmp bmp;
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return bmp;
    const uint32_t dataOffset = Le32(file, 10), headerSize = Le32(file, 14);
    bmp.width = int32_t(Le32(file, 18));
    bmp.height = int32_t(Le32(file, 22));
    bmp.bitCount = Le16(file, 28);
    const uint32_t bytesPerPixel = bmp.bitCount / 8;
    const uint32_t rows = uint32_t(bmp.height < 0 ? -bmp.height : bmp.height);
    const uint32_t stride = (uint32_t(bmp.width) * bmp.bitCount + 31) / 32 * 4;
    if (file.size() < dataOffset + uint64_t(stride) * rows) return Bmp{};
    uint32_t colours = Le32(file, 46);
    if (bmp.bitCount == 8 && colours == 0) colours = 256;
    const size_t palette = 14 + headerSize;
    for (uint32_t y = 0; y < rows; ++y) {
        const uint32_t fileRow = bmp.height < 0 ? y : rows - 1 - y;
        const uint8_t* row = file.data() + dataOffset + size_t(fileRow) * stride;
        for (uint32_t k = 0; k < uint32_t(bmp.width) * bytesPerPixel; ++k) {
            uint8_t value = row[k];
            if (bmp.bitCount == 8) {
                if (value >= colours) return Bmp{};
                const uint8_t* entry = file.data() + palette + 4 * value;
                if (entry[0] != entry[1] || entry[1] != entry[2]) bmp.paletteIsGrey = false;
                value = entry[0];
            }
            bmp.pixels.push_back(value);
        }
    }
    return bmp;
}

std::vector<uint8_t> HighBytes(const std::vector<uint16_t>& samples) {
    std::vector<uint8_t> bytes;
    for (uint16_t s : samples) bytes.push_back(uint8_t(s >> 8));
    return bytes;
}

class FrameFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CreateDirectoryW(L"frame_files", nullptr); }
};

TEST_F(FrameFiles, GreyTiffIsTheHeaderFollowedByTheSamples) {
    const std::vector<uint16_t> samples = RandomSamples(640 * 480, 1);
    const std::wstring path = kFolder + L"grey640";
    DeleteFileW((path + L".tif").c_str());
    ASSERT_TRUE(SaveFrame(path, 0, {samples.data(), 640, 480, 2}));
    const std::vector<uint8_t> file = ReadAll(path + L".tif");
    ASSERT_EQ(file.size(), 110u + 640 * 480 * 2);
    EXPECT_EQ(Le16(file, 0), 0x4949u);
    EXPECT_EQ(Le16(file, 2), 42u);
    EXPECT_EQ(Le32(file, 4), 8u);
    EXPECT_EQ(Le16(file, 8), 8u);
    EXPECT_EQ(TiffField(file, 256), 640u);
    EXPECT_EQ(TiffField(file, 257), 480u);
    EXPECT_EQ(TiffField(file, 258), 16u);
    EXPECT_EQ(TiffField(file, 262), 1u);
    EXPECT_EQ(TiffField(file, 273), 110u);
    EXPECT_EQ(TiffField(file, 279), 640u * 480 * 2);
    EXPECT_EQ(TiffField(file, 277), ~0u);
    EXPECT_EQ(std::memcmp(file.data() + 110, samples.data(), samples.size() * 2), 0);
}

TEST_F(FrameFiles, RgbTiffHoldsRedGreenBlueAndLeavesTheFrameAlone) {
    const std::vector<uint16_t> bgr = RandomSamples(640 * 480 * 3, 2);
    const std::vector<uint16_t> original = bgr;
    const std::wstring path = kFolder + L"rgb640.raw";
    ASSERT_TRUE(SaveFrame(path, 5, {bgr.data(), 640, 480, 6}));
    EXPECT_EQ(bgr, original);
    const std::vector<uint8_t> file = ReadAll(kFolder + L"rgb640.tif");
    ASSERT_EQ(file.size(), 122u + 640 * 480 * 6);
    EXPECT_EQ(Le16(file, 8), 9u);
    EXPECT_EQ(TiffField(file, 262), 2u);
    EXPECT_EQ(TiffField(file, 273), 122u);
    EXPECT_EQ(TiffField(file, 277), 3u);
    EXPECT_EQ(TiffField(file, 279), 640u * 480 * 6);
    EXPECT_EQ(Le32(file, 118), 0u);
    for (size_t p = 0; p < 640 * 480; ++p)
        for (size_t c = 0; c < 3; ++c)
            ASSERT_EQ(Le16(file, 122 + (p * 3 + c) * 2), bgr[p * 3 + 2 - c]) << "pixel " << p << " sample " << c;
    EXPECT_FALSE(Exists(kFolder + L"rgb640.raw.tif"));
}

TEST_F(FrameFiles, AnExistingFileIsReplaced) {
    const std::wstring path = kFolder + L"replaced.tif";
    const std::vector<uint8_t> junk(5000, 0x5A);
    ASSERT_TRUE(WriteAll(path, junk.data(), junk.size()));
    const std::vector<uint16_t> samples = RandomSamples(10 * 10, 3);
    ASSERT_TRUE(CTiffGrayImage(10, 10, 16).Write(path, samples.data()));
    EXPECT_EQ(FileSize(path), 110 + 200);
}

TEST_F(FrameFiles, AFolderWithADotKeepsItsName) {
    const std::wstring folder = kFolder + L"with.dot";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::vector<uint16_t> samples = RandomSamples(8 * 3 * 3, 4);
    DeleteFileW((folder + L"\\frame.tif").c_str());
    DeleteFileW((folder + L"\\frame.bmp").c_str());
    ASSERT_TRUE(SaveFrame(folder + L"\\frame", 0, {samples.data(), 8, 3, 2}));
    ASSERT_TRUE(SaveFrame(folder + L"\\frame", kDataFormat8Bit, {samples.data(), 8, 3, 6}));
    EXPECT_EQ(FileSize(folder + L"\\frame.tif"), 110 + 8 * 3 * 2);
    EXPECT_TRUE(Exists(folder + L"\\frame.bmp"));
    EXPECT_FALSE(Exists(kFolder + L"with.tif"));
    EXPECT_FALSE(Exists(kFolder + L"with.bmp"));
}

TEST_F(FrameFiles, DimensionsAboveTheShortFieldsWriteNoFile) {
    const std::vector<uint16_t> samples(70000 * 3, 0x1234);
    DeleteFileW((kFolder + L"wide.tif").c_str());
    EXPECT_FALSE(CTiffGrayImage(65536, 1, 16).Fits());
    EXPECT_FALSE(CTiffGrayImage(70000, 1, 16).Write(kFolder + L"wide", samples.data()));
    EXPECT_FALSE(CTiffRGBImage(1, 65536, 48).Write(kFolder + L"wide", samples.data()));
    EXPECT_FALSE(SaveFrame(kFolder + L"wide", 0, {samples.data(), 70000, 1, 2}));
    EXPECT_FALSE(SaveFrame(kFolder + L"wide", 0, {samples.data(), 70000, 1, 6}));
    EXPECT_FALSE(SaveFrame(kFolder + L"wide", 0, {samples.data(), 1, 70000, 2}));
    EXPECT_FALSE(Exists(kFolder + L"wide.tif"));
    // 65535 still fits.
    EXPECT_TRUE(SaveFrame(kFolder + L"wide", 0, {samples.data(), 65535, 1, 2}));
    EXPECT_EQ(FileSize(kFolder + L"wide.tif"), 110 + 65535 * 2);
}

TEST_F(FrameFiles, OtherPixelSizesAndMissingSamplesSaveNothing) {
    const std::vector<uint16_t> samples(64, 0x8000);
    DeleteFileW((kFolder + L"odd.tif").c_str());
    DeleteFileW((kFolder + L"odd.bmp").c_str());
    EXPECT_FALSE(SaveFrame(kFolder + L"odd", 0, {samples.data(), 4, 4, 4}));
    EXPECT_FALSE(SaveFrame(kFolder + L"odd", kDataFormat8Bit, {samples.data(), 4, 4, 4}));
    EXPECT_FALSE(SaveFrame(kFolder + L"odd", 0, {nullptr, 4, 4, 2}));
    EXPECT_FALSE(SaveFrame(kFolder + L"odd", kDataFormat8Bit, {nullptr, 4, 4, 6}));
    EXPECT_FALSE(Exists(kFolder + L"odd.tif"));
    EXPECT_FALSE(Exists(kFolder + L"odd.bmp"));
    const CBmpImage bmp(4, 4, 32, samples.data());
    EXPECT_FALSE(bmp.HasBitmap());
    EXPECT_NE(bmp.Status(), 0);
}

TEST_F(FrameFiles, AFolderThatDoesNotExistFailsTheWrite) {
    const std::vector<uint16_t> samples(16, 1);
    EXPECT_FALSE(CTiffGrayImage(4, 4, 16).Write(kFolder + L"no such folder\\x", samples.data()));
    EXPECT_FALSE(SaveFrame(kFolder + L"no such folder\\x", kDataFormat8Bit, {samples.data(), 4, 4, 2}));
}

TEST_F(FrameFiles, ColourBmpOfAnOddWidthHoldsTheHighBytes) {
    const uint32_t width = 13, height = 7;  // 39 bytes a row: padded to 40
    const std::vector<uint16_t> bgr = RandomSamples(width * height * 3, 5);
    const std::wstring path = kFolder + L"colour13";
    DeleteFileW((path + L".bmp").c_str());
    ASSERT_TRUE(SaveFrame(path, kDataFormat8Bit, {bgr.data(), width, height, 6}));
    EXPECT_FALSE(Exists(path + L".tif"));
    const Bmp bmp = DecodeBmp(ReadAll(path + L".bmp"));
    EXPECT_EQ(bmp.bitCount, 24u);
    EXPECT_EQ(bmp.width, 13);
    EXPECT_EQ(bmp.height < 0 ? -bmp.height : bmp.height, 7);
    EXPECT_EQ(bmp.pixels, HighBytes(bgr));  // a 24-bit bitmap stores blue, green, red too
}

TEST_F(FrameFiles, GreyBmpIsAnEightBitPaletteImage) {
    const uint32_t width = 10, height = 5;
    const std::vector<uint16_t> samples = RandomSamples(width * height, 6);
    const std::wstring path = kFolder + L"grey10.old";
    ASSERT_TRUE(SaveFrame(path, kDataFormat8Bit, {samples.data(), width, height, 2}));
    const Bmp bmp = DecodeBmp(ReadAll(kFolder + L"grey10.bmp"));
    EXPECT_EQ(bmp.bitCount, 8u);
    EXPECT_EQ(bmp.width, 10);
    EXPECT_TRUE(bmp.paletteIsGrey);
    EXPECT_EQ(bmp.pixels, HighBytes(samples));
}

TEST_F(FrameFiles, BmpImageKeepsItsStatus) {
    const std::vector<uint16_t> samples(6 * 2, 0xFF00);
    CBmpImage bmp(6, 2, 16, samples.data());
    ASSERT_TRUE(bmp.HasBitmap());
    EXPECT_EQ(bmp.Status(), 0);
    EXPECT_TRUE(bmp.SaveBmp(kFolder + L"status"));
    EXPECT_EQ(bmp.Status(), 0);
    EXPECT_FALSE(bmp.SaveBmp(kFolder + L"no such folder\\status"));
    EXPECT_NE(bmp.Status(), 0);
}

TEST(FrameFileNames, TimeStampedNameFromLocalTimeAndCounter) {
    SYSTEMTIME t{};
    t.wYear = 2024;
    t.wMonth = 3;
    t.wDay = 5;
    t.wHour = 7;
    t.wMinute = 8;
    t.wSecond = 9;
    t.wMilliseconds = 999;
    EXPECT_EQ(TimeStampedPath(L"C:\\shots", t, 0), L"C:\\shots\\2024-03-05-07-08-09-0");
    EXPECT_EQ(TimeStampedPath(L"C:\\shots\\", t, 12), L"C:\\shots\\2024-03-05-07-08-09-12");
    EXPECT_EQ(TimeStampedPath(L"C:\\my.shots", t, 3), L"C:\\my.shots\\2024-03-05-07-08-09-3");
    t.wMonth = 12;
    t.wDay = 31;
    t.wHour = 23;
    t.wMinute = 59;
    t.wSecond = 59;
    EXPECT_EQ(TimeStampedPath(L"D:\\", t, 2147483647u), L"D:\\2024-12-31-23-59-59-2147483647");
}

TEST_F(FrameFiles, TwoSavesInOneSecondGetTwoFiles) {
    const std::wstring folder = kFolder + L"series.2";
    CreateDirectoryW(folder.c_str(), nullptr);
    const SYSTEMTIME now = LocalNow();
    const std::wstring first = TimeStampedPath(folder, now, 0), second = TimeStampedPath(folder, now, 1);
    ASSERT_NE(first, second);
    EXPECT_EQ(first.substr(0, first.size() - 1), second.substr(0, second.size() - 1));
    const std::vector<uint16_t> a(4 * 4, 100), b(4 * 4, 200);
    ASSERT_TRUE(SaveFrame(first, 0, {a.data(), 4, 4, 2}));
    ASSERT_TRUE(SaveFrame(second, 0, {b.data(), 4, 4, 2}));
    const std::vector<uint8_t> fa = ReadAll(first + L".tif"), fb = ReadAll(second + L".tif");
    ASSERT_EQ(fa.size(), 110u + 32);
    ASSERT_EQ(fb.size(), 110u + 32);
    EXPECT_EQ(Le16(fa, 110), 100u);
    EXPECT_EQ(Le16(fb, 110), 200u);
}

TEST(FrameFileNames, LocalNowAgreesWithTheSystemsLocalTime) {
    const SYSTEMTIME ours = LocalNow();
    SYSTEMTIME system{};
    GetLocalTime(&system);
    FILETIME a{}, b{};
    ASSERT_TRUE(SystemTimeToFileTime(&ours, &a));
    ASSERT_TRUE(SystemTimeToFileTime(&system, &b));
    const int64_t ta = int64_t(a.dwHighDateTime) << 32 | a.dwLowDateTime;
    const int64_t tb = int64_t(b.dwHighDateTime) << 32 | b.dwLowDateTime;
    EXPECT_LT(tb - ta < 0 ? ta - tb : tb - ta, 10LL * 60 * 10000000) << "more than ten minutes apart";
}

// Files for check_frame_files.sh: each image with the samples a reader must
// find in it, as raw little-endian 16-bit (TIFF) or 8-bit (BMP) values in
// red, green, blue order.
TEST_F(FrameFiles, ForTheReaders) {
    const std::wstring folder = kFolder + L"readers\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"grey.tif", L"grey.expected", L"rgb.tif", L"rgb.expected", L"colour.bmp",
                                L"colour.expected", L"grey8.bmp", L"grey8.expected"})
        DeleteFileW((folder + name).c_str());

    const std::vector<uint16_t> grey = RandomSamples(640 * 480, 7);
    ASSERT_TRUE(SaveFrame(folder + L"grey", 0, {grey.data(), 640, 480, 2}));
    ASSERT_TRUE(WriteAll(folder + L"grey.expected", grey.data(), grey.size() * 2));

    const std::vector<uint16_t> bgr = RandomSamples(640 * 480 * 3, 8);
    std::vector<uint16_t> rgb(bgr.size());
    for (size_t i = 0; i < bgr.size(); i += 3) {
        rgb[i] = bgr[i + 2];
        rgb[i + 1] = bgr[i + 1];
        rgb[i + 2] = bgr[i];
    }
    ASSERT_TRUE(SaveFrame(folder + L"rgb", 0, {bgr.data(), 640, 480, 6}));
    ASSERT_TRUE(WriteAll(folder + L"rgb.expected", rgb.data(), rgb.size() * 2));

    const std::vector<uint16_t> colour = RandomSamples(13 * 7 * 3, 9);
    std::vector<uint8_t> colourRgb;
    for (size_t i = 0; i < colour.size(); i += 3)
        for (size_t c = 0; c < 3; ++c) colourRgb.push_back(uint8_t(colour[i + 2 - c] >> 8));
    ASSERT_TRUE(SaveFrame(folder + L"colour", kDataFormat8Bit, {colour.data(), 13, 7, 6}));
    ASSERT_TRUE(WriteAll(folder + L"colour.expected", colourRgb.data(), colourRgb.size()));

    const std::vector<uint16_t> grey8 = RandomSamples(10 * 5, 10);
    const std::vector<uint8_t> grey8High = HighBytes(grey8);
    ASSERT_TRUE(SaveFrame(folder + L"grey8", kDataFormat8Bit, {grey8.data(), 10, 5, 2}));
    ASSERT_TRUE(WriteAll(folder + L"grey8.expected", grey8High.data(), grey8High.size()));
}

}  // namespace
