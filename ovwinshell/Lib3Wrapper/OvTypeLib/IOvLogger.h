#pragma once

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

}  // namespace DllModule::Lib3Wrapper::OvTypeLib
