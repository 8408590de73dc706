// The viewer's capture graph: builds, failures and their text, the table
// entry and the compressor list.
#include <set>
#include <string>

#include "DShow/BuildPolicies.h"
#include "DShow/CaptureGraph.h"
#include "DShow/ComError.h"
#include "DShow/Compressors.h"
#include "dshow/DShowFixture.h"
#include "dshow/RecordingSink.h"
#include "support/MessageBoxCatcher.h"

namespace dshowtest {
namespace {

using namespace DShow;

std::set<std::wstring> FilterNames(IGraphBuilder* graph) {
    std::set<std::wstring> names;
    ComPtr<IEnumFilters> filters;
    graph->EnumFilters(filters.Put());
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.Put(), nullptr) == S_OK) {
        FILTER_INFO info{};
        filter->QueryFilterInfo(&info);
        if (info.pGraph) info.pGraph->Release();
        names.insert(info.achName);
    }
    return names;
}

// A writer whose input pin takes no type at all.
class RefusingWriter : public RecordingSink, public IFileSinkFilter {
public:
    RefusingWriter() : RecordingSink(false) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return BaseFilter::QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return BaseFilter::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return BaseFilter::Release(); }
    STDMETHODIMP SetFileName(LPCOLESTR, const AM_MEDIA_TYPE*) override { return S_OK; }
    STDMETHODIMP GetCurFile(LPOLESTR*, AM_MEDIA_TYPE*) override { return E_NOTIMPL; }

protected:
    HRESULT QueryExtraInterface(REFIID iid, void** object) override {
        if (iid == IID_IFileSinkFilter) return DsBase::ReturnInterface<IFileSinkFilter>(this, object);
        return RecordingSink::QueryExtraInterface(iid, object);
    }
};

class CaptureGraphTest : public DShowTest {
protected:
    void SetUp() override {
        DShowTest::SetUp();
        MessageBoxCatcher::Forget();
    }
    MessageBoxCatcher boxes_;
};

TEST_F(CaptureGraphTest, BuildingTwiceLeavesOneChain) {
    CaptureGraph graph;
    ASSERT_TRUE(graph.Graph());
    for (int build = 0; build < 2; ++build) EXPECT_TRUE(CCapturePolicy(nullptr, L"twice.avi").Build(graph, false));
    const std::set<std::wstring> chain{L"Orvane Source", L"AviMux", L"FileWriter"};
    EXPECT_EQ(FilterNames(graph.Graph()), chain);
    EXPECT_TRUE(MessageBoxCatcher::Boxes().empty());
}

TEST_F(CaptureGraphTest, FailingConnectToTheWriterGivesFalseAfterTheFiltersWereAdded) {
    CaptureGraph graph;
    graph.ReplaceWriter(ComPtr<IBaseFilter>::Adopt(new RefusingWriter()));
    EXPECT_FALSE(CCapturePolicy(nullptr, L"refused.avi").Build(graph, true));
    const std::set<std::wstring> chain{L"Orvane Source", L"AviMux", L"FileWriter"};
    EXPECT_EQ(FilterNames(graph.Graph()), chain);
    EXPECT_TRUE(MessageBoxCatcher::Boxes().empty());

    // Not quiet: the failure is shown with the reporting unit.
    EXPECT_FALSE(CCapturePolicy(nullptr, L"refused.avi").Build(graph, false));
    ASSERT_EQ(MessageBoxCatcher::Boxes().size(), 1u);
    EXPECT_EQ(MessageBoxCatcher::Boxes()[0].caption, L"");
    EXPECT_NE(MessageBoxCatcher::Boxes()[0].text.find(L"\nФайл:.\\DshowGraph\nСтрока:"), std::wstring::npos);
}

TEST_F(CaptureGraphTest, ComErrorTextNamesCodeUnitLineAndDescription) {
    struct Case {
        HRESULT result;
        const char* unit;
        int line;
        const wchar_t* start;
    } cases[] = {
        {E_NOINTERFACE, ".\\DshowGraph", 42,
         L"Ошибка COM. Код ошибки:80004002\nФайл:.\\DshowGraph\nСтрока:42\nОписание:"},
        {E_FAIL, ".\\VextControlPanel", 7,
         L"Ошибка COM. Код ошибки:80004005\nФайл:.\\VextControlPanel\nСтрока:7\nОписание:"},
    };
    for (const Case& c : cases) {
        const std::wstring text = CComError(c.result, c.unit, c.line).Text();
        EXPECT_EQ(text.substr(0, wcslen(c.start)), c.start);
    }
    // Formatted into at most 259 characters.
    const std::string longUnit(400, 'u');
    EXPECT_EQ(CComError(E_FAIL, longUnit.c_str(), 1).Text().size(), 259u);
}

TEST_F(CaptureGraphTest, TableEntryIsNamedByAddressAndProcess) {
    EXPECT_EQ(RotEntryName(reinterpret_cast<void*>(0x12ab40), 1234), L"FilterGraph 0012ab40 pid 000004d2");

    CaptureGraph graph;
    ComPtr<IRunningObjectTable> table;
    ASSERT_EQ(GetRunningObjectTable(0, table.Put()), S_OK);
    ComPtr<IMoniker> moniker;
    const std::wstring name = RotEntryName(graph.Graph(), GetCurrentProcessId());
    ASSERT_EQ(CreateItemMoniker(L"!", name.c_str(), moniker.Put()), S_OK);
    EXPECT_EQ(table->IsRunning(moniker.Get()), S_OK);
}

TEST_F(CaptureGraphTest, NoCompressorUnderWineTakesTheSourcesRgb) {
    CaptureGraph graph;
    std::vector<CompressorEntry> entries;
    EXPECT_TRUE(EnumerateCompressors(graph, entries));
    EXPECT_EQ(CodecListLines(entries), std::vector<std::wstring>{L"Без сжатия"});
    EXPECT_TRUE(MessageBoxCatcher::Boxes().empty());
}

TEST_F(CaptureGraphTest, SelectingALineTakesTheFirstEntryOfThatName) {
    ComPtr<IBaseFilter> first = ComPtr<IBaseFilter>::Adopt(RecordingSink::Create());
    ComPtr<IBaseFilter> second = ComPtr<IBaseFilter>::Adopt(RecordingSink::Create());
    std::vector<CompressorEntry> entries{{first.Get(), L"Codec"}, {second.Get(), L"Codec"}};
    EXPECT_EQ(CodecListLines(entries), (std::vector<std::wstring>{L"Без сжатия", L"Codec", L"Codec"}));
    EXPECT_EQ(SelectCompressor(entries, L"Codec"), first.Get());
    EXPECT_EQ(SelectCompressor(entries, L"Без сжатия"), nullptr);
}

}  // namespace
}  // namespace dshowtest
