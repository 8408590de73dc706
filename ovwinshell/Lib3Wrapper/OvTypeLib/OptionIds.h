#pragma once
// Camera option ids and enum values that more than one part of the program
// looks up by number.
#include <cstdint>

namespace DllModule::Lib3Wrapper::OvTypeLib::OptionIds {

constexpr uint32_t kExposure = 0x400002;
constexpr uint32_t kFrameRate = 0x400003;
constexpr uint32_t kSyncMode = 0x400004;
constexpr uint32_t kRecordMode = 0x400005;
constexpr uint32_t kRegion = 0x400006;
constexpr uint32_t kFramePosition = 0x400007;
constexpr uint32_t kDataFormat = 0x400008;
constexpr uint32_t kFrameIndex = 0x400020;
constexpr uint32_t kFramePercent = 0x400054;
constexpr uint32_t kRateDependent = 0x400055;

// Enum values.
constexpr int32_t kSyncSoftwareStart = 4;
constexpr int32_t kDataFormat8Bit = 17;

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::OptionIds
