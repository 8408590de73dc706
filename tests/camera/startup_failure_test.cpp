// Runs with OVSIM_FAIL=OvLib3Init: the library refuses to initialise while the
// program's static objects are built. The program must say so in a message
// box and run on; camera operations then fail with reported errors.
#include <gtest/gtest.h>

#include "Lib3Wrapper/Exports.h"
#include "Lib3Wrapper/Globals.h"
#include "Lib3Wrapper/MessageSink.h"
#include "support/MessageBoxCatcher.h"
#include "support/RecordingLogger.h"

using namespace DllModule::Lib3Wrapper;

// Built before the camera layer's static objects (default priority).
__attribute__((init_priority(101))) MessageBoxCatcher g_catcher;

TEST(StartupFailure, ShowsTheNoDevicesBoxAndRunsOn) {
    auto boxes = MessageBoxCatcher::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, NoDevicesCaption);
    EXPECT_NE(boxes[0].text.find(L"*** Error ***\n"), std::wstring::npos);
    EXPECT_NE(boxes[0].text.find(L"OvLib3Init"), std::wstring::npos);
    EXPECT_NE(boxes[0].text.find(L"\nFile: .\\Globals\nLine: "), std::wstring::npos);

    // The report was stored although no logger existed yet.
    EXPECT_EQ(MessageSink::Instance().GetLastMessage().rfind("*** Error ***\n", 0), 0u);
}

TEST(StartupFailure, SystemCreationFailsWithAReport) {
    static RecordingLogger logger;
    OvTypeLib::IOvSystem* system = nullptr;
    EXPECT_FALSE(Lib3CreateSystem(1, &system, &logger));
    EXPECT_EQ(system, nullptr);
    ASSERT_EQ(logger.Count(), 1u);
    EXPECT_NE(logger.Lines()[0].find("\nFile: .\\Exports\nLine: "), std::string::npos);
}
