// The frame files under Wine: sizes and samples, the file-name rules, file
// replacement and the refusal of frames the TIFF fields cannot hold.
// FrameFiles.ForTheReaders leaves files with their expected samples in
// frame_files/readers for check_frame_files.sh (libtiff and ImageMagick).
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
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) || read != bytes.size()) bytes.clear();
    CloseHandle(file);
    return bytes;
}

bool WriteAll(const std::wstring& path, const void* data, size_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE && WriteFile(file, data, DWORD(size), &written, nullptr) && written == size;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return ok;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<uint16_t> RandomSamples(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint16_t> samples(count);
    for (uint16_t& s : samples) s = uint16_t(random());
    return samples;
}

class FrameFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CreateDirectoryW(L"frame_files", nullptr); }
};

TEST_F(FrameFiles, AnExistingFileIsReplaced) {
    const std::wstring path = kFolder + L"replaced.tif";
    const std::vector<uint8_t> junk(5000, 0x5A);
    ASSERT_TRUE(WriteAll(path, junk.data(), junk.size()));
    const std::vector<uint16_t> samples = RandomSamples(10 * 10, 3);
    ASSERT_TRUE(CTiffGrayImage(10, 10, 16).Write(path, samples.data()));
    const std::vector<uint8_t> file = ReadAll(path);
    ASSERT_EQ(file.size(), 110u + 200);
    EXPECT_EQ(std::memcmp(file.data() + 110, samples.data(), 200), 0);
}

TEST_F(FrameFiles, OnlyTheFilesOwnExtensionIsReplaced) {
    const std::wstring folder = kFolder + L"with.dot\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::vector<uint16_t> samples = RandomSamples(8 * 3 * 3, 4);
    ASSERT_TRUE(SaveFrame(folder + L"frame", 0, {samples.data(), 8, 3, 2}));
    ASSERT_TRUE(SaveFrame(folder + L"frame.old", kDataFormat8Bit, {samples.data(), 8, 3, 6}));
    EXPECT_EQ(ReadAll(folder + L"frame.tif").size(), 110u + 8 * 3 * 2);
    EXPECT_TRUE(Exists(folder + L"frame.bmp"));
    EXPECT_FALSE(Exists(folder + L"frame.old.bmp"));
    EXPECT_FALSE(Exists(kFolder + L"with.tif"));
}

TEST_F(FrameFiles, DimensionsAboveTheShortFieldsWriteNoFile) {
    const std::vector<uint16_t> samples(70000 * 3, 0x1234);
    const std::wstring path = kFolder + L"wide";
    DeleteFileW((path + L".tif").c_str());
    EXPECT_FALSE(CTiffGrayImage(65536, 1, 16).Write(path, samples.data()));
    EXPECT_FALSE(CTiffRGBImage(1, 65536, 48).Write(path, samples.data()));
    EXPECT_FALSE(SaveFrame(path, 0, {samples.data(), 70000, 1, 2}));
    EXPECT_FALSE(SaveFrame(path, 0, {samples.data(), 70000, 1, 6}));
    EXPECT_FALSE(SaveFrame(path, 0, {samples.data(), 1, 70000, 2}));
    EXPECT_FALSE(Exists(path + L".tif"));
    EXPECT_TRUE(SaveFrame(path, 0, {samples.data(), 65535, 1, 2}));  // the largest that fits
    EXPECT_EQ(ReadAll(path + L".tif").size(), 110u + 65535 * 2);
}

TEST_F(FrameFiles, UnsavableFramesWriteNothing) {
    const std::vector<uint16_t> samples(64, 0x8000);
    const std::wstring path = kFolder + L"odd";
    EXPECT_FALSE(SaveFrame(path, 0, {samples.data(), 4, 4, 4}));
    EXPECT_FALSE(SaveFrame(path, kDataFormat8Bit, {samples.data(), 4, 4, 4}));
    EXPECT_FALSE(SaveFrame(path, 0, {nullptr, 4, 4, 2}));
    EXPECT_FALSE(SaveFrame(path, kDataFormat8Bit, {nullptr, 4, 4, 6}));
    EXPECT_FALSE(Exists(path + L".tif"));
    EXPECT_FALSE(Exists(path + L".bmp"));
    EXPECT_FALSE(CTiffGrayImage(4, 4, 16).Write(kFolder + L"no such folder\\x", samples.data()));
    CBmpImage bmp(4, 4, 16, samples.data());
    ASSERT_TRUE(bmp.HasBitmap());
    EXPECT_FALSE(bmp.SaveBmp(kFolder + L"no such folder\\x"));
    EXPECT_NE(bmp.Status(), 0);
    EXPECT_FALSE(CBmpImage(4, 4, 32, samples.data()).HasBitmap());
}

TEST(FrameFileNames, TimeStampedNameFromLocalTimeAndCounter) {
    SYSTEMTIME t{};
    t.wYear = 2024;
    t.wMonth = 3;
    t.wDay = 5;
    t.wHour = 7;
    t.wMinute = 8;
    t.wSecond = 9;
    EXPECT_EQ(TimeStampedPath(L"C:\\shots", t, 0), L"C:\\shots\\2024-03-05-07-08-09-0");
    EXPECT_EQ(TimeStampedPath(L"C:\\my.shots\\", t, 12), L"C:\\my.shots\\2024-03-05-07-08-09-12");
    t.wMonth = 12;
    t.wSecond = 59;
    EXPECT_EQ(TimeStampedPath(L"D:\\", t, 2147483647u), L"D:\\2024-12-05-07-08-59-2147483647");
}

TEST_F(FrameFiles, TwoSavesInOneSecondDifferByTheCounter) {
    const SYSTEMTIME now = LocalNow();
    const std::wstring first = TimeStampedPath(L"frame_files", now, 0);
    const std::wstring second = TimeStampedPath(L"frame_files", now, 1);
    EXPECT_EQ(first.substr(0, first.size() - 1) + L"1", second);
    const std::vector<uint16_t> a(4 * 4, 100), b(4 * 4, 200);
    ASSERT_TRUE(SaveFrame(first, 0, {a.data(), 4, 4, 2}));
    ASSERT_TRUE(SaveFrame(second, 0, {b.data(), 4, 4, 2}));
    const std::vector<uint8_t> fa = ReadAll(first + L".tif"), fb = ReadAll(second + L".tif");
    ASSERT_EQ(fa.size(), 110u + 32);
    ASSERT_EQ(fb.size(), 110u + 32);
    EXPECT_EQ(fa[110], 100);
    EXPECT_EQ(fb[110], 200);
    DeleteFileW((first + L".tif").c_str());  // a new name every run
    DeleteFileW((second + L".tif").c_str());
}

TEST(FrameFileNames, LocalNowAgreesWithTheLocalClock) {
    const SYSTEMTIME ours = LocalNow();
    SYSTEMTIME system{};
    GetLocalTime(&system);
    FILETIME a{}, b{};
    ASSERT_TRUE(SystemTimeToFileTime(&ours, &a));
    ASSERT_TRUE(SystemTimeToFileTime(&system, &b));
    const int64_t apart =
        (int64_t(b.dwHighDateTime) << 32 | b.dwLowDateTime) - (int64_t(a.dwHighDateTime) << 32 | a.dwLowDateTime);
    EXPECT_LT(apart < 0 ? -apart : apart, 10LL * 60 * 10000000) << "more than ten minutes apart";
}

// Each file with the samples a reader must decode from it: little-endian
// 16-bit (TIFF) or 8-bit (BMP) values, red, green, blue per pixel.
TEST_F(FrameFiles, ForTheReaders) {
    const std::wstring folder = kFolder + L"readers\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"grey.tif", L"rgb.tif", L"colour.bmp", L"grey8.bmp"})
        DeleteFileW((folder + name).c_str());

    const std::vector<uint16_t> grey = RandomSamples(640 * 480, 7);
    ASSERT_TRUE(SaveFrame(folder + L"grey", 0, {grey.data(), 640, 480, 2}));
    EXPECT_EQ(ReadAll(folder + L"grey.tif").size(), 110u + 640 * 480 * 2);
    ASSERT_TRUE(WriteAll(folder + L"grey.expected", grey.data(), grey.size() * 2));

    const std::vector<uint16_t> bgr = RandomSamples(640 * 480 * 3, 8), original = bgr;
    std::vector<uint16_t> rgb(bgr.size());
    for (size_t i = 0; i < bgr.size(); ++i) rgb[i] = bgr[i - i % 3 + 2 - i % 3];
    ASSERT_TRUE(SaveFrame(folder + L"rgb", 0, {bgr.data(), 640, 480, 6}));
    EXPECT_EQ(bgr, original);
    EXPECT_EQ(ReadAll(folder + L"rgb.tif").size(), 122u + 640 * 480 * 6);
    ASSERT_TRUE(WriteAll(folder + L"rgb.expected", rgb.data(), rgb.size() * 2));

    // 13 pixels: 39-byte rows padded to 40 in the bitmap.
    const std::vector<uint16_t> colour = RandomSamples(13 * 7 * 3, 9);
    std::vector<uint8_t> colourHigh(colour.size());
    for (size_t i = 0; i < colour.size(); ++i) colourHigh[i] = uint8_t(colour[i - i % 3 + 2 - i % 3] >> 8);
    ASSERT_TRUE(SaveFrame(folder + L"colour", kDataFormat8Bit, {colour.data(), 13, 7, 6}));
    ASSERT_TRUE(WriteAll(folder + L"colour.expected", colourHigh.data(), colourHigh.size()));

    const std::vector<uint16_t> grey8 = RandomSamples(10 * 5, 10);
    std::vector<uint8_t> grey8High(grey8.size());
    for (size_t i = 0; i < grey8.size(); ++i) grey8High[i] = uint8_t(grey8[i] >> 8);
    ASSERT_TRUE(SaveFrame(folder + L"grey8", kDataFormat8Bit, {grey8.data(), 10, 5, 2}));
    ASSERT_TRUE(WriteAll(folder + L"grey8.expected", grey8High.data(), grey8High.size()));
}

}  // namespace
