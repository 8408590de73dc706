#pragma once
#include <exception>

#include "Lib3Error.h"
#include "MessageSink.h"

namespace DllModule::Lib3Wrapper {

inline void ReportError(const Lib3Error& error) { MessageSink::Instance().Report(ErrorTitle, error.Text(), true); }

// The catch rule of every public operation: a Lib3Error is reported once and
// becomes a false result; callers never see the exception. Other exceptions
// (out of memory for a camera's buffers) are reported with their own text.
template <typename Body>
bool RunReported(Body&& body) {
    try {
        return body();
    } catch (const Lib3Error& error) {
        ReportError(error);
        return false;
    } catch (const std::exception& error) {
        MessageSink::Instance().Report(ErrorTitle, error.what(), true);
        return false;
    }
}

}  // namespace DllModule::Lib3Wrapper
