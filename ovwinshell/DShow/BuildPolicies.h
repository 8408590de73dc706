#pragma once
// Which chain a build puts into the capture graph: the export's chain
// (source, optional compressor, AVI multiplexer, file writer) or a test
// chain that tells whether a compressor can be used at all.
#include <windows.h>
#include <dshow.h>

#include <string>

namespace DShow {

class CaptureGraph;

class CBuildPolicy {
public:
    virtual ~CBuildPolicy() = default;
    // Clears the graph and builds the chain; a failure is shown unless quiet.
    virtual bool Build(CaptureGraph& graph, bool quiet) = 0;
};

class CCapturePolicy : public CBuildPolicy {
public:
    // compressor: none for an uncompressed file; not owned.
    CCapturePolicy(IBaseFilter* compressor, const wchar_t* fileName) : compressor_(compressor), fileName_(fileName) {}
    bool Build(CaptureGraph& graph, bool quiet) override;

private:
    IBaseFilter* compressor_;
    std::wstring fileName_;
};

class CTestCodecPolicy : public CBuildPolicy {
public:
    explicit CTestCodecPolicy(IBaseFilter* compressor) : compressor_(compressor) {}
    // Nothing runs, so "file.avi" is never created.
    bool Build(CaptureGraph& graph, bool quiet) override;

private:
    IBaseFilter* compressor_;
};

}  // namespace DShow
