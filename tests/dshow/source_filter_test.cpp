// The source filter through COM on the registered ovdsource.dll: its
// interfaces, its media type, and what a run delivers for a range of frames.

#include <cstdio>

#include "Common/ScreenDepth.h"
#include "Framework/MediaType.h"
#include "OvSourceFilter.h"
#include "Render/ImageProcessor.h"
#include "dshow/DShowFixture.h"
#include "dshow/FakeTransfer.h"
#include "dshow/SourceGraph.h"

namespace dshowtest {
namespace {

class SourceFilterTest : public DShowTest {
protected:
    void SetUp() override {
        DShowTest::SetUp();
        source_ = CreateSource();
        ASSERT_TRUE(source_);
        control_ = source_.As<IOvSourceControl>(IID_IOvSourceControl);
        ASSERT_TRUE(control_);
    }
    void TearDown() override {
        control_.Reset();
        source_.Reset();
        DShowTest::TearDown();
    }
    void Configure(int32_t first, int32_t last, int32_t deliveryState = 0) {
        control_->SetFrameSize(kWidth, kHeight);
        control_->SetFrameSource(&transfer_);
        control_->SetImageProcessor(&processor_);
        control_->SetNotifyWindow(window_);
        control_->SetFrameRange(first, last);
        control_->SetDeliveryState(deliveryState);
    }

    static constexpr uint32_t kWidth = 16, kHeight = 6;
    FakeTransfer transfer_{kWidth, kHeight};
    Render::ImageProcessor processor_;
    ComPtr<IBaseFilter> source_;
    ComPtr<IOvSourceControl> control_;
};

TEST_F(SourceFilterTest, AnswersItsInterfacesAndNoOthers) {
    struct Case {
        const IID* iid;
        HRESULT expected;
    } cases[] = {
        {&IID_IUnknown, S_OK},
        {&IID_IBaseFilter, S_OK},
        {&IID_IMediaFilter, S_OK},
        {&IID_IPersist, S_OK},
        {&IID_IAMovieSetup, S_OK},
        {&IID_IOvSourceControl, S_OK},
        {&IID_IPin, E_NOINTERFACE},
        {&IID_IMediaSeeking, E_NOINTERFACE},
        {&IID_IClassFactory, E_NOINTERFACE},
        {&IID_IFileSinkFilter, E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        IUnknown* object = reinterpret_cast<IUnknown*>(1);
        EXPECT_EQ(source_->QueryInterface(*c.iid, reinterpret_cast<void**>(&object)), c.expected);
        if (c.expected == S_OK && object) object->Release();
        if (c.expected != S_OK) {
            EXPECT_EQ(object, nullptr);
        }
    }
    EXPECT_EQ(source_->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(SourceFilterTest, MediaTypeFollowsTheScreenDepth) {
    struct Case {
        int depth;
        GUID subtype;
        ULONG imageSize;
    } cases[] = {{24, MEDIASUBTYPE_RGB24, 3 * 20 * 10}, {32, MEDIASUBTYPE_RGB32, 4 * 20 * 10}};
    for (const Case& c : cases) {
        DsBase::MediaType type;
        ASSERT_EQ(OvSource::BuildVideoType(20, 10, c.depth, type), S_OK);
        const AM_MEDIA_TYPE& t = type.Get();
        EXPECT_EQ(t.majortype, MEDIATYPE_Video);
        EXPECT_EQ(t.subtype, c.subtype);
        EXPECT_EQ(t.formattype, FORMAT_VideoInfo);
        ASSERT_EQ(t.cbFormat, 88u);
        EXPECT_EQ(t.lSampleSize, c.imageSize);
        EXPECT_FALSE(t.bTemporalCompression);
        EXPECT_EQ(reinterpret_cast<const VIDEOINFOHEADER*>(t.pbFormat)->AvgTimePerFrame, 400000);
        const BITMAPINFOHEADER& bih = reinterpret_cast<const VIDEOINFOHEADER*>(t.pbFormat)->bmiHeader;
        EXPECT_EQ(bih.biSize, 40u);
        EXPECT_EQ(bih.biWidth, 20);
        EXPECT_EQ(bih.biHeight, -10);
        EXPECT_EQ(bih.biPlanes, 1);
        EXPECT_EQ(bih.biBitCount, c.depth);
        EXPECT_EQ(bih.biCompression, DWORD(BI_RGB));
        EXPECT_EQ(bih.biSizeImage, c.imageSize);
    }

    // The registered filter offers the type of this screen at the set size.
    control_->SetFrameSize(20, 10);
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(FirstPin(source_.Get())->EnumMediaTypes(types.Put()), S_OK);
    AM_MEDIA_TYPE* offered[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(types->Next(2, offered, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(offered[0]->lSampleSize, ULONG(ScreenBitsPerPixel() / 8 * 20 * 10));
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(offered[0]->pbFormat)->bmiHeader.biBitCount, ScreenBitsPerPixel());
    // It accepts what it offers and nothing of another sample size.
    ComPtr<IPin> pin = FirstPin(source_.Get());
    EXPECT_EQ(pin->QueryAccept(offered[0]), S_OK);
    offered[0]->lSampleSize += 1;
    EXPECT_EQ(pin->QueryAccept(offered[0]), S_FALSE);
    DsBase::DeleteMediaType(offered[0]);
}

TEST_F(SourceFilterTest, RefusedConnectionLeavesThePinFree) {
    Configure(0, 1);
    SourceGraph refusing(source_.Get(), false);
    EXPECT_TRUE(FAILED(refusing.Connect()));
    ComPtr<IPin> peer;
    EXPECT_EQ(FirstPin(source_.Get())->ConnectedTo(peer.Put()), VFW_E_NOT_CONNECTED);
    EXPECT_FALSE(refusing.Sink().Input()->ConnectedTo(peer.Put()) == S_OK);
}

TEST_F(SourceFilterTest, RangeGivesOneSampleAFrameAt25FramesPerSecond) {
    struct Case {
        int32_t first, last;
        std::vector<int32_t> delivered;
    } cases[] = {{3, 5, {3, 4, 5}}, {3, 3, {3}}, {5, 3, {5}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "range " << c.first << ".." << c.last);
        FakeTransfer transfer(kWidth, kHeight);
        Configure(c.first, c.last);
        control_->SetFrameSource(&transfer);
        SourceGraph graph(source_.Get());
        ASSERT_EQ(graph.Connect(), S_OK);
        std::vector<GraphEvent> events = graph.RunToEnd();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back().code, EC_COMPLETE);

        EXPECT_EQ(transfer.Acquired(), c.delivered);
        std::vector<ReceivedSample> samples = graph.Sink().Samples();
        ASSERT_EQ(samples.size(), c.delivered.size());
        for (size_t i = 0; i < samples.size(); ++i) {
            EXPECT_EQ(samples[i].start, REFERENCE_TIME(i) * 400000);
            EXPECT_EQ(samples[i].stop, REFERENCE_TIME(i + 1) * 400000);
            EXPECT_TRUE(samples[i].syncPoint);
        }
        // The pixels are the processor's rendering of the frame.
        const uint32_t depth = ScreenBitsPerPixel();
        std::vector<uint8_t> expected(kWidth * kHeight * depth / 8);
        std::vector<uint16_t> frame = transfer.Samples(c.delivered.back());
        processor_.Render8(0, 0, kWidth, kHeight, expected.data(), kWidth * depth / 8, depth, frame.data(), 0);
        EXPECT_EQ(samples.back().bytes, expected);

        std::vector<Notification> expectedNotes;
        for (size_t i = 0; i + 1 < c.delivered.size(); ++i) expectedNotes.push_back({UWM_FRAME_INDEX, c.delivered[i]});
        std::vector<Notification> notes = Notifications();
        ASSERT_GT(notes.size(), expectedNotes.size());
        EXPECT_EQ(std::vector<Notification>(notes.begin(), notes.begin() + expectedNotes.size()), expectedNotes);
        for (size_t i = expectedNotes.size(); i < notes.size(); ++i) EXPECT_EQ(notes[i].message, UWM_SEQUENCE_END);
        ClearNotifications();
    }
}

TEST_F(SourceFilterTest, FrameOfAnotherSizeEndsTheStreamWithSizeChanged) {
    Configure(3, 6);
    transfer_.ServeOtherSize(4, 40, 30);
    SourceGraph graph(source_.Get());
    ASSERT_EQ(graph.Connect(), S_OK);
    std::vector<GraphEvent> events = graph.RunToEnd();

    EXPECT_EQ(graph.Sink().Samples().size(), 1u);
    EXPECT_EQ(transfer_.Acquired(), (std::vector<int32_t>{3, 4}));
    bool sizeChanged = false;
    for (const GraphEvent& e : events)
        if (e.code == EC_VIDEO_SIZE_CHANGED) sizeChanged = e.param1 == MAKELONG(40, 30);
    EXPECT_TRUE(sizeChanged);
    EXPECT_EQ(events.back().code, EC_COMPLETE);
}

TEST_F(SourceFilterTest, DeliveryStateOtherThanZeroDeliversNothing) {
    struct Case {
        int32_t state;
        long endEvent;
        LONG_PTR endParam;
    } cases[] = {{1, EC_ERRORABORT, E_FAIL}, {2, EC_COMPLETE, S_OK}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "delivery state " << c.state);
        Configure(0, 4, c.state);
        SourceGraph graph(source_.Get());
        ASSERT_EQ(graph.Connect(), S_OK);
        std::vector<GraphEvent> events = graph.RunToEnd();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back().code, c.endEvent);
        EXPECT_EQ(events.back().param1, c.endParam);
        EXPECT_TRUE(graph.Sink().Samples().empty());
        EXPECT_TRUE(transfer_.Acquired().empty());
    }
}

TEST_F(SourceFilterTest, OpenSourceFileRefusesAMissingFile) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(control_->OpenSourceFile(path), S_OK);
    EXPECT_EQ(control_->OpenSourceFile(L"Z:\\no\\such\\file.raw"), E_INVALIDARG);
}

}  // namespace
}  // namespace dshowtest
