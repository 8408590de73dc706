#pragma once
#include <windows.h>

#include <cstring>
#include <string_view>

namespace DllModule::Lib3Wrapper::OvTypeLib {

// Receiver of the camera layer's reports (the log pane implements it).
class IOvLogger {
public:
    // text: a LocalAlloc (fixed) block holding the NUL-terminated message; the
    // logger owns it from this call on and frees it with LocalFree.
    // alert: make the message prominent if it cannot be shown in the record.
    virtual bool Log(char* text, bool alert) = 0;
    // Empties the logger's record; the camera layer never calls it.
    virtual void Clear() = 0;
};

// Hands a copy of text to logger in the block Log expects; false when there
// is no logger or no memory for the copy.
inline bool LogCopy(IOvLogger* logger, std::string_view text, bool alert) {
    if (!logger) return false;
    auto* block = static_cast<char*>(LocalAlloc(LMEM_FIXED, text.size() + 1));
    if (!block) return false;
    std::memcpy(block, text.data(), text.size());
    block[text.size()] = '\0';
    return logger->Log(block, alert);
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib
