#pragma once
// A logger that keeps every text it is given, checking that each one is a
// LocalAlloc block of its own.
#include <windows.h>

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "Lib3Wrapper/OvTypeLib/IOvLogger.h"

class RecordingLogger : public DllModule::Lib3Wrapper::OvTypeLib::IOvLogger {
public:
    bool Log(char* text, bool alert) override {
        std::lock_guard<std::mutex> guard(mutex_);
        bool ownBlock = LocalSize(text) >= std::strlen(text) + 1;
        lines_.push_back(text);
        alerts_.push_back(alert);
        if (!ownBlock || LocalFree(text) != nullptr) ++badBlocks_;
        return true;
    }
    void Clear() override {
        std::lock_guard<std::mutex> guard(mutex_);
        lines_.clear();
        alerts_.clear();
    }

    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> guard(mutex_);
        return lines_;
    }
    size_t Count() {
        std::lock_guard<std::mutex> guard(mutex_);
        return lines_.size();
    }
    int BadBlocks() const { return badBlocks_; }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
    std::vector<bool> alerts_;
    int badBlocks_ = 0;
};
