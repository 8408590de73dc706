#include "MessageSink.h"

#include <windows.h>
#include <cstdio>
#include <cstring>

namespace DllModule::Lib3Wrapper {

namespace {
constexpr size_t kBufferSize = 1024;
const char* const kTruncatedNote = "\n warning: message truncated.";

// snprintf reports the length it wanted; anything past 1023 characters was cut.
bool Truncated(int wanted) { return wanted < 0 || wanted >= static_cast<int>(kBufferSize); }
}  // namespace

const char* MessageSink::Report(const char* title, const char* text, bool alert) {
    CritSecLock guard(lock_);
    char buffer[kBufferSize];
    int wanted = std::snprintf(buffer, sizeof buffer, "%s\n%s", title, text);
    buffer[kBufferSize - 1] = '\0';
    return Store(buffer, Truncated(wanted), alert);
}

const char* MessageSink::ReportAt(const char* title, const char* sourcePath, int line, const char* text, bool alert) {
    CritSecLock guard(lock_);
    char buffer[kBufferSize];
    int wanted =
        std::snprintf(buffer, sizeof buffer, "%s\nFile: %s\nLine: %d\nText: %s", title, sourcePath, line, text);
    buffer[kBufferSize - 1] = '\0';
    return Store(buffer, Truncated(wanted), alert);
}

// Called with the lock held.
const char* MessageSink::Store(const char* formatted, bool truncated, bool alert) {
    lastMessage_ = formatted;
    if (truncated) lastMessage_ += kTruncatedNote;
    OvTypeLib::LogCopy(logger_, lastMessage_, alert);
    return lastMessage_.c_str();
}

void MessageSink::SetLogger(OvTypeLib::IOvLogger* logger) {
    CritSecLock guard(lock_);
    logger_ = logger;
}

std::string MessageSink::GetLastMessage() {
    CritSecLock guard(lock_);
    return lastMessage_;
}

}  // namespace DllModule::Lib3Wrapper
