#include "DShow/BuildPolicies.h"

#include "DShow/CaptureGraph.h"
#include "DShow/ComError.h"
#include "DShow/IOvSourceControl.h"

namespace DShow {

namespace {

// Two orders differ from the obvious one because of what the platform's
// multiplexer does: full interleaving is set before anything is connected to
// it (its default mode fails Run, and setting it later crashed), and the
// multiplexer is joined to the writer before anything is joined to it (the
// other order made it reconnect its inputs and crash).
bool BuildChain(CaptureGraph& graph, IBaseFilter* compressor, const wchar_t* fileName, bool quiet) {
    return RunComChecked(quiet, [&] {
        if (!graph.Clear(quiet)) return false;
        IBaseFilter* upstream = graph.Held(CLSID_OvSourceFilter);
        graph.Add(CLSID_OvSourceFilter, L"Orvane Source");
        if (compressor) {
            OV_CHECK_COM(graph.Graph()->AddFilter(compressor, L"Compressor"));
            if (!graph.Connect(upstream, compressor, quiet)) return false;
            upstream = compressor;
        }
        IBaseFilter* multiplexer = graph.Held(CLSID_AviDest);
        graph.Add(CLSID_AviDest, L"AviMux");
        ComPtr<IConfigInterleaving> interleaving;
        if (multiplexer) multiplexer->QueryInterface(IID_IConfigInterleaving, interleaving.PutVoid());
        if (interleaving) OV_CHECK_COM(interleaving->put_Mode(INTERLEAVE_FULL));

        IBaseFilter* writer = graph.Held(CLSID_FileWriter);
        graph.Add(CLSID_FileWriter, L"FileWriter");
        ComPtr<IFileSinkFilter> sink;
        if (!writer || FAILED(writer->QueryInterface(IID_IFileSinkFilter, sink.PutVoid()))) return false;
        AM_MEDIA_TYPE type{};
        type.majortype = MEDIATYPE_Stream;
        type.subtype = MEDIASUBTYPE_Avi;
        OV_CHECK_COM(sink->SetFileName(fileName, &type));
        if (!graph.Connect(multiplexer, writer, quiet)) return false;
        return graph.Connect(upstream, multiplexer, quiet);
    });
}

}  // namespace

bool CCapturePolicy::Build(CaptureGraph& graph, bool quiet) {
    return BuildChain(graph, compressor_, fileName_.c_str(), quiet);
}

bool CTestCodecPolicy::Build(CaptureGraph& graph, bool quiet) {
    return compressor_ && BuildChain(graph, compressor_, L"file.avi", quiet);
}

}  // namespace DShow
