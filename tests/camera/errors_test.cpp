// How failures of the camera library reach the caller and the logger.
#include <string>

#include "Lib3Wrapper/MessageSink.h"
#include "support/CameraFixture.h"

namespace ovtest {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

class ErrorReportTest : public CameraTest {};

TEST_F(ErrorReportTest, FailingCallGivesFalseAndExactlyOneFormattedReport) {
    IOvSystem* system = CreateAndInit(kZelMono);
    IOvScalarOption* exposure = FindOption(system, 0x400002)->AsScalar();
    ASSERT_NE(exposure, nullptr);
    Logger().Clear();

    OvSimFailCall("OvLib3OptionGetScalar", 1, 0);
    int32_t value = 0;
    EXPECT_FALSE(exposure->GetValue(0, &value));

    auto lines = Logger().Lines();
    ASSERT_EQ(lines.size(), 1u);
    const std::string& text = lines[0];
    EXPECT_TRUE(StartsWith(text, "*** Error ***\nOVLIB3 ")) << text;
    EXPECT_NE(text.find("OvLib3OptionGetScalar"), std::string::npos) << text;
    size_t file = text.find("\nFile: .\\Lib3Wrapper\\OvTypeLib\\Impl\\OvScalarOptionImpl\nLine: ");
    ASSERT_NE(file, std::string::npos) << text;
    std::string line = text.substr(text.rfind("\nLine: ") + 7);
    EXPECT_GT(std::stoi(line), 0);
    EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << line;
    EXPECT_EQ(Logger().BadBlocks(), 0);

    // The option stays usable.
    EXPECT_TRUE(exposure->GetValue(0, &value));
    EXPECT_EQ(Logger().Count(), 1u);
}

TEST_F(ErrorReportTest, LongLibraryTextArrivesTruncatedWithWarning) {
    IOvSystem* system = CreateAndInit(kZelMono);
    IOvEnumOption* sync = FindOption(system, 0x400004)->AsEnum();
    ASSERT_NE(sync, nullptr);
    Logger().Clear();

    OvSimFailCall("OvLib3OptionSetEnumVal", 1, OVSIM_CODE_LONG_REMARK);
    EXPECT_FALSE(sync->SetValue(6));
    auto lines = Logger().Lines();
    ASSERT_EQ(lines.size(), 1u);
    const std::string note = "\n warning: message truncated.";
    ASSERT_EQ(lines[0].size(), 1023u + note.size());
    EXPECT_EQ(lines[0].substr(1023), note);
    EXPECT_TRUE(StartsWith(lines[0], "*** Error ***\n"));
}

TEST(MessageSinkTest, WithoutLoggerTheTextIsStoredAndReturned) {
    MessageSink sink;
    const char* stored = sink.Report("*** Error ***", "something failed", true);
    EXPECT_STREQ(stored, "*** Error ***\nsomething failed");
    EXPECT_EQ(sink.GetLastMessage(), "*** Error ***\nsomething failed");

    std::string longText(3000, 'x');
    stored = sink.ReportAt("*** Error ***", ".\\Unit", 42, longText.c_str(), true);
    std::string expectedHead = "*** Error ***\nFile: .\\Unit\nLine: 42\nText: xxx";
    EXPECT_EQ(std::string(stored).substr(0, expectedHead.size()), expectedHead);
    EXPECT_EQ(std::string(stored).size(), 1023u + std::strlen("\n warning: message truncated."));
}

TEST(MessageSinkTest, EachLogCallGetsItsOwnBlock) {
    MessageSink sink;
    RecordingLogger logger;
    sink.SetLogger(&logger);
    sink.Report("*** Error ***", "first", true);
    sink.Report("*** Error ***", "second", true);
    EXPECT_EQ(logger.Lines(), (std::vector<std::string>{"*** Error ***\nfirst", "*** Error ***\nsecond"}));
    EXPECT_EQ(logger.BadBlocks(), 0);
}

TEST_F(ErrorReportTest, FormatterFailureGivesTheUnknownErrorText) {
    IOvSystem* system = CreateAndInit(kZelMono);
    IOvScalarOption* exposure = FindOption(system, 0x400002)->AsScalar();
    Logger().Clear();
    OvSimFailCall("OvLib3OptionSetScalar", 1, 0);
    OvSimFailCall("OvLib3ErrorSPrintf", 1, 0);
    EXPECT_FALSE(exposure->SetValue(0, 1000));
    // "LIB3: Неизвестная ошибка" in code page 1251.
    EXPECT_EQ(Logger().Lines(),
              std::vector<std::string>{"*** Error ***\nLIB3: \xcd\xe5\xe8\xe7\xe2\xe5\xf1\xf2\xed\xe0\xff "
                                       "\xee\xf8\xe8\xe1\xea\xe0"});
}

}  // namespace
}  // namespace ovtest
