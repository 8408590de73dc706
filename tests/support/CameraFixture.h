#pragma once
// Common ground of the camera-layer tests: a simulator in a known state, one
// recording logger for the whole process (the sink keeps the last logger),
// and helpers to create systems and find options.
#include <gtest/gtest.h>

#include "Lib3Wrapper/Exports.h"
#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "Lib3Wrapper/OvTypeLib/IOvOption.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"
#include "ovlib3_sim.h"
#include "support/RecordingLogger.h"

namespace ovtest {

using namespace DllModule::Lib3Wrapper;
using namespace DllModule::Lib3Wrapper::OvTypeLib;

constexpr uint32_t kZelMono = 1;
constexpr uint32_t kZelColour = 2;
constexpr uint32_t kVext = 3;
constexpr uint32_t kZelNoSoftwareStart = 4;

inline RecordingLogger& Logger() {
    static RecordingLogger logger;
    return logger;
}

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        Lib3ReleaseSystem(kZelMono);
        Lib3ReleaseSystem(kVext);
        OvSimReset();
        OvSimSetFastMode(1);
        Logger().Clear();
        baselineHandles_ = OvSimLiveHandles();
    }
    void TearDown() override {
        Lib3ReleaseSystem(kZelMono);
        Lib3ReleaseSystem(kVext);
        OvSimReset();
    }

    IOvSystem* Create(uint32_t type) {
        IOvSystem* system = nullptr;
        EXPECT_TRUE(Lib3CreateSystem(type, &system, &Logger()));
        return system;
    }
    IOvSystem* CreateAndInit(uint32_t type) {
        IOvSystem* system = Create(type);
        if (system) {
            EXPECT_TRUE(system->Init());
        }
        return system;
    }

    static IOvOption* FindOption(IOvSystem* system, uint32_t id, uint32_t index = 0) {
        IOvEnum* options = nullptr;
        system->GetOptions(&options);
        void* item = nullptr;
        return options->Find(id, index, &item) ? static_cast<IOvOption*>(item) : nullptr;
    }

    // (id, index) of every option in enumeration order.
    static std::vector<std::pair<uint32_t, uint32_t>> OptionKeys(IOvSystem* system) {
        std::vector<std::pair<uint32_t, uint32_t>> keys;
        IOvEnum* options = nullptr;
        system->GetOptions(&options);
        void* item = nullptr;
        for (bool more = options->First(nullptr, nullptr, &item); more; more = options->Next(nullptr, nullptr, &item)) {
            auto* option = static_cast<IOvOption*>(item);
            keys.emplace_back(option->GetId(), option->GetIndex());
        }
        return keys;
    }

    uint32_t baselineHandles_ = 0;
};

}  // namespace ovtest
