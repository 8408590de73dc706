// Faults of the camera layer that earlier versions mishandled: a failed
// renegotiation of the input type, an Init that failed after the library's
// own Init had succeeded, and exceptions other than library errors.
#include <new>

#include "Lib3Wrapper/Reported.h"
#include "support/AcquireHelpers.h"
#include "support/CameraFixture.h"

namespace ovtest {
namespace {

constexpr uint32_t kRegion = 0x400006;

class LayerFaultTest : public CameraTest {
protected:
    void SetRegion(IOvSystem* system, int32_t width, int32_t height) {
        ASSERT_TRUE(system->LockAcquisition());
        EXPECT_TRUE(FindOption(system, kRegion)->AsRect()->SetRect(0, 0, width, height));
        system->UnlockAcquisition();
    }
};

// Colour ZEL reads by block transfer, mono ZEL by DMA: a renegotiation that
// fails half-way must not leave a small buffer behind a large input type.
TEST_F(LayerFaultTest, FailedRenegotiationIsRedoneBeforeTheNextTransfer) {
    struct Case {
        uint32_t type;
        int32_t smallWidth, smallHeight, fullWidth, fullHeight;
    };
    const Case cases[] = {{kZelColour, 64, 16, 1600, 1200}, {kZelMono, 64, 16, 1280, 1024}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        OvSimSetDeterministic(1, 5);
        IOvSystem* system = CreateAndInit(c.type);
        IOvDataTransfer* transfer = nullptr;
        ASSERT_TRUE(system->GetDataTransfer(0, &transfer));
        SetRegion(system, c.smallWidth, c.smallHeight);
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(Grab(transfer).ok);
        SetRegion(system, c.fullWidth, c.fullHeight);
        Logger().Clear();
        OvSimFailCall("OvLib3DataheaderGetU32", 1, 0);
        EXPECT_FALSE(Grab(transfer).ok);
        EXPECT_EQ(Logger().Count(), 1u);
        for (int i = 0; i < 2; ++i) {
            const Grabbed frame = Grab(transfer);
            ASSERT_TRUE(frame.ok);
            EXPECT_EQ(frame.width, uint32_t(c.fullWidth));
            EXPECT_TRUE(MatchesPrediction(frame));
        }
        EXPECT_EQ(Logger().Count(), 1u);
        Lib3ReleaseSystem(c.type);
    }
}

TEST_F(LayerFaultTest, InitMayBeRetriedAfterTheTransferCouldNotBeBuilt) {
    for (uint32_t type : {kZelMono, kVext}) {
        SCOPED_TRACE(type);
        IOvSystem* system = Create(type);
        ASSERT_NE(system, nullptr);
        OvSimFailCall("OvLib3SystemGetInDInterface", 1, 0);
        Logger().Clear();
        EXPECT_FALSE(system->Init());
        EXPECT_EQ(Logger().Count(), 1u);
        EXPECT_TRUE(system->Init());
        EXPECT_EQ(Logger().Count(), 1u);
        IOvDataTransfer* transfer = nullptr;
        EXPECT_TRUE(system->GetDataTransfer(0, &transfer));
        Lib3ReleaseSystem(type);
    }
}

TEST_F(LayerFaultTest, NoExceptionLeavesAnOperation) {
    Create(kZelMono);  // installs the logger
    Logger().Clear();
    EXPECT_FALSE(RunReported([]() -> bool { throw std::bad_alloc(); }));
    ASSERT_EQ(Logger().Count(), 1u);
    EXPECT_EQ(Logger().Lines()[0].rfind("*** Error ***\n", 0), 0u);
}

}  // namespace
}  // namespace ovtest
