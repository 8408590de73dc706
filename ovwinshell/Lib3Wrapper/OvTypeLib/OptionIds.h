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
constexpr uint32_t kFrameMultiplier = 0x400009;  // VEXT: memory partitions
constexpr uint32_t kVextGain = 0x40000A;
constexpr uint32_t kPretrigger = 0x40000D;
constexpr uint32_t kFrameIndex = 0x400020;
constexpr uint32_t kFramePercent = 0x400054;
constexpr uint32_t kRateDependent = 0x400055;

// Enum values.
constexpr int32_t kSyncSoftwareStart = 4;
constexpr int32_t kSyncExternal = 5;
constexpr int32_t kSyncInternal = 6;
constexpr int32_t kDataFormat8Bit = 17;
constexpr int32_t kRecordRing = 37;

// Units of scalar options.
constexpr uint32_t kUnitNative = 0;
constexpr uint32_t kUnitPeriod = 2;
constexpr uint32_t kUnitPercent = 6;
constexpr uint32_t kUnitFramesPerSecond = 31;

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::OptionIds
