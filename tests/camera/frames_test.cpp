// Frame buffers and frames.
#include <gtest/gtest.h>

#include "Lib3Wrapper/OvTypeLib/Impl/OvFrameImpl.h"

namespace {

using namespace DllModule::Lib3Wrapper::OvTypeLib;
using namespace DllModule::Lib3Wrapper::OvTypeLib::Impl;

TEST(FrameBufferTest, StartsEmptyAndKeepsContentsForTheSameFormat) {
    OvFrameMemBufferImpl buffer;
    uint32_t w = 9, h = 9, bpp = 9;
    buffer.GetFormat(&w, &h, &bpp);
    EXPECT_EQ(w + h + bpp, 0u);

    buffer.SetFormat(3, 2, 2);
    uint8_t* data = nullptr;
    buffer.GetData(&data);
    for (int i = 0; i < 12; ++i) data[i] = static_cast<uint8_t>(i + 1);
    buffer.SetFormat(3, 2, 2);
    uint8_t* same = nullptr;
    buffer.GetData(&same);
    EXPECT_EQ(same, data);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(same[i], i + 1);

    buffer.SetFormat(2, 2, 6);
    buffer.GetFormat(&w, &h, &bpp);
    EXPECT_EQ(w * h * bpp, 24u);
}

TEST(FrameBufferTest, CopyFromTakesFormatAndPixels) {
    OvFrameMemBufferImpl source, target;
    source.SetFormat(4, 3, 2);
    uint8_t* data = nullptr;
    source.GetData(&data);
    for (int i = 0; i < 24; ++i) data[i] = static_cast<uint8_t>(200 - i);
    EXPECT_TRUE(target.CopyFrom(&source));
    uint32_t w, h, bpp;
    target.GetFormat(&w, &h, &bpp);
    EXPECT_EQ(w, 4u);
    EXPECT_EQ(h, 3u);
    EXPECT_EQ(bpp, 2u);
    uint8_t* copied = nullptr;
    target.GetData(&copied);
    EXPECT_NE(copied, data);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(copied[i], 200 - i);

    OvFrameMemBufferImpl empty;
    EXPECT_TRUE(target.CopyFrom(&empty));
    target.GetFormat(&w, &h, &bpp);
    EXPECT_EQ(w * h * bpp, 0u);
}

TEST(FrameTest, SwapTwiceReturnsToTheFirstBuffer) {
    OvFrameImpl frame;
    IOvFrameMemBuffer *first = nullptr, *other = nullptr, *now = nullptr;
    frame.GetCurrent(&first);
    frame.GetOther(&other);
    EXPECT_NE(first, other);
    frame.Swap();
    frame.GetCurrent(&now);
    EXPECT_EQ(now, other);
    frame.GetOther(&now);
    EXPECT_EQ(now, first);
    frame.Swap();
    frame.GetCurrent(&now);
    EXPECT_EQ(now, first);
}

}  // namespace
