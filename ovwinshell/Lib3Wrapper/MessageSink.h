#pragma once
#include <string>
#include "Common/CritSec.h"
#include "OvTypeLib/IOvLogger.h"

namespace DllModule::Lib3Wrapper {

// The process-wide receiver of error reports: keeps the last text and hands a
// copy of each report to the installed logger, serialising all threads.
class MessageSink {
public:
    static MessageSink& Instance();

    // Formats "title\ntext", stores it and forwards a copy; returns the stored text.
    const char* Report(const char* title, const char* text, bool alert);
    // The same for conditions the layer detects itself, with a source position.
    const char* ReportAt(const char* title, const char* sourcePath, int line, const char* text, bool alert);

    // Stored by system creation; never cleared, not reference-counted.
    void SetLogger(OvTypeLib::IOvLogger* logger);
    std::string GetLastMessage();

private:
    const char* Store(const char* formatted, bool truncated, bool alert);

    CritSec lock_;
    std::string lastMessage_;
    OvTypeLib::IOvLogger* logger_ = nullptr;
};

}  // namespace DllModule::Lib3Wrapper
