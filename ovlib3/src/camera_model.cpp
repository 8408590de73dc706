#include "camera_model.h"

#include <algorithm>
#include <memory>

#include "ids.h"
#include "system.h"

namespace ovsim {
namespace {

constexpr int32_t kDefaultFilmFrames = 205;  // what the viewer sets at 1000 frames/s

const CameraModel kModels[] = {
    {kCameraZelMono,
     Family::Zel,
     false,
     "sim\\zel_mono.ovc",
     1280,
     1024,
     25,
     400,
     true,
     true,
     true,
     {"ZEL-SIM-000123", "ZEL-BRD-000124"}},
    {kCameraZelColour,
     Family::Zel,
     true,
     "sim\\zel_colour.ovc",
     1600,
     1200,
     20,
     400,
     true,
     true,
     false,
     {"ZEL-SIM-000245", "ZEL-BRD-000246"}},
    {kCameraVext,
     Family::Vext,
     false,
     "sim\\vext_highspeed.ovc",
     1024,
     1024,
     1,
     10,
     true,
     true,
     true,
     {"VEXT-SIM-000512", "VEXT-MEM-000513"}},
    {kCameraZelMonoNoSoftStart,
     Family::Zel,
     false,
     "sim\\zel_mono_ext.ovc",
     1280,
     1024,
     25,
     400,
     false,
     false,
     true,
     {"ZEL-SIM-000367", "ZEL-BRD-000368"}},
};

template <class T>
std::unique_ptr<Option> own(T option) {
    return std::make_unique<T>(std::move(option));
}

RectRules regionRules(const System& s) {
    const CameraModel& m = s.model;
    RectRules rules;
    rules.maximum = {0, 0, m.sensorWidth, m.sensorHeight};
    if (m.family == Family::Vext) {
        rules.minimum = {0, 0, 128, 16};
        rules.alignX = rules.alignWidth = 32;
    } else {
        rules.minimum = {0, 0, 64, 16};
        rules.alignX = rules.alignWidth = 8;  // whole bytes per row in every packed format
    }
    if (s.colour()) rules.alignY = rules.alignHeight = 2;  // keeps the GRBG phase and whole cells
    return rules;
}

// Percent of the memory's capacity; 0 % is the shortest film, one frame.
ScalarUnit percentOfCapacity(const System& s) {
    const System* camera = &s;  // by pointer: systems are not copied
    return {kUnitPercent, [camera](int64_t n) { return n * 100 / std::max<int64_t>(1, vextCapacity(*camera)); },
            [camera](int64_t p) { return std::max<int64_t>(1, p * vextCapacity(*camera) / 100); }};
}

void addChannelOptions(System& s, Stage stage, int32_t minimum, int32_t maximum) {
    for (uint32_t index : {kChannelIndexA, kChannelIndexB}) {
        const int32_t initial = stage == Stage::PreInit ? int32_t(index) : 0;
        s.addOption(stage, kOptChannel, index, own(ScalarOption::fixed(initial, minimum, maximum)));
    }
}

void addZelOptions(System& s) {
    const CameraModel& m = s.model;
    s.addOption(Stage::PostInit, kOptExposure, 0,
                own(ScalarOption::fixed(20000, 10, 2000000,
                                        {sameAsNative(kUnitMicroseconds), scaledDown(kUnitMilliseconds, 1000)})));
    std::vector<int32_t> syncModes = {kSyncExternal, kSyncInternal};
    if (m.softwareStart) syncModes.insert(syncModes.begin(), kSyncSoftware);
    s.addOption(Stage::PostInit, kOptSyncMode, 0, own(EnumOption(kSyncInternal, syncModes)));
    s.addOption(Stage::PostInit, kOptRegion, 0, own(RectOption({0, 0, m.sensorWidth, m.sensorHeight}, regionRules(s))));
    if (m.colour)
        s.addOption(Stage::PostInit, kOptDataFormat, 0,
                    own(EnumOption(kFormatMosaic10, {kFormatMosaic10, kFormatRgb10, kFormatBgr48})));
    else
        s.addOption(Stage::PostInit, kOptDataFormat, 0,
                    own(EnumOption(kFormatMono12Packed,
                                   {kFormatMono8High, kFormatMono10Packed, kFormatMono12Packed, kFormatMono16})));
    s.addOption(Stage::PostInit, kOptGain, 0, own(ScalarOption::fixed(100, 100, 1600)));
    if (m.colour) {
        // Settings for the viewer only; they do not change the frames. The colour
        // data has 10 significant bits, so a display shift beyond 4 shows noise.
        s.addOption(Stage::PostInit, kOptDigitalGainLimit, 0,
                    own(EnumOption(kGainLimit4, {kGainLimit1, kGainLimit2, kGainLimit4})));
        s.addOption(Stage::PostInit, kOptCentringFactor, 0,
                    own(ScalarOption::fixed(1, 1, 1, {sameAsNative(kUnitTimes)})));
    }
    s.addOption(Stage::PostInit, kInfoSensorTemperature, 0, own(InfoOption([&s] {
                    return std::pair<int32_t, int32_t>{s.sensorTemperature(), 0};
                })));
}

void addVextOptions(System& s) {
    const CameraModel& m = s.model;
    // Exposure cannot outlast the frame period, so its range follows the frame rate.
    auto maxExposure = [&s] { return int64_t(1000000 / s.option<ScalarOption>(kOptFrameRate).native()); };
    s.addOption(Stage::PostInit, kOptFrameRate, 0,
                own(ScalarOption::fixed(1000, 50, 100000,
                                        {sameAsNative(kUnitFramesPerSecond), reciprocal(kUnitMicroseconds, 1000000)})),
                [&s, maxExposure] {
                    auto& exposure = s.option<ScalarOption>(kOptExposure);
                    if (exposure.native() > maxExposure()) exposure.forceNative(int32_t(maxExposure()));
                    vextFrameRateChanged(s);
                });
    s.addOption(Stage::PostInit, kOptExposure, 0,
                own(ScalarOption(500,
                                 [maxExposure] {
                                     return Range{1, maxExposure()};
                                 },
                                 {sameAsNative(kUnitMicroseconds)})));
    s.addOption(Stage::PostInit, kOptSyncMode, 0,
                own(EnumOption(kSyncInternal, {kSyncSoftware, kSyncExternal, kSyncInternal, kSyncRecordOnEdge})));
    s.addOption(Stage::PostInit, kOptRecordMode, 0, own(EnumOption(kRecordSingle, {kRecordSingle, kRecordRing})));
    // The memory's layout follows the frame size: a new region empties it.
    s.addOption(Stage::PostInit, kOptRegion, 0, own(RectOption({0, 0, m.sensorWidth, m.sensorHeight}, regionRules(s))),
                [&s] { vextClearMemory(s); });
    // Frames per film and per live ring; the viewer sets it from the frame rate.
    s.addOption(Stage::PostInit, kOptFramePosition, 0,
                own(ScalarOption(kDefaultFilmFrames,
                                 [&s] {
                                     return Range{1, vextCapacity(s)};
                                 },
                                 {percentOfCapacity(s)})));
    s.addOption(Stage::PostInit, kOptPartitions, 0, own(ScalarOption::fixed(1, 1, 4)));
    s.addOption(Stage::PostInit, kOptPreTrigger, 0, own(ScalarOption::fixed(0, 0, 100)));
    s.addOption(Stage::PostInit, kOptSyncOutput, 0,
                own(EnumOption(kSyncOutputOff, {kSyncOutputStrobe, kSyncOutputOff})));
    // The camera moves a frame index outside what it holds to the nearest frame it has.
    ScalarOption frameIndex(0, [&s] { return vextFrameIndexRange(s); });
    frameIndex.clampWrites();
    s.addOption(Stage::PostInit, kOptFrameIndex, 0, own(std::move(frameIndex)));
    s.addOption(Stage::PostInit, kInfoTotalFrames, 0, own(InfoOption([&s] {
                    return std::pair<int32_t, int32_t>{int32_t(vextPartitionCapacity(s)), int32_t(vextFilmFrames(s))};
                })));
}

}  // namespace

const CameraModel* findCameraModel(uint32_t type) {
    for (const auto& model : kModels)
        if (model.type == type) return &model;
    return nullptr;
}

bool hasControlInterface(const CameraModel& m, uint32_t id, uint32_t index) {
    switch (id) {
        case kIfaceControl:
            return index == 0;
        case kIfaceSerialNumber:
            return index <= 1;
        case kIfaceInputControl:
            return m.inputControl && (index == 0 || (index == 1 && m.family == Family::Vext));
        default:
            return false;
    }
}

void addPreInitOptions(System& s) {
    const bool vext = s.model.family == Family::Vext;
    s.addOption(Stage::PreInit, kOptBoardNumber, 0, own(ScalarOption::fixed(0, 0, 3)));
    s.addOption(Stage::PreInit, kOptBusInterface, 0,
                own(EnumOption(kBusSimulated, {vext ? kBusOptical : kBusPciExpress, kBusSimulated})));
    addChannelOptions(s, Stage::PreInit, 0, 15);
    if (vext) s.addOption(Stage::PreInit, kOptSensor, 0, own(EnumOption(kSensorMono, {kSensorMono, kSensorColour})));
}

void addPostInitOptions(System& s) {
    addChannelOptions(s, Stage::PostInit, -8, 8);
    if (s.model.family == Family::Vext)
        addVextOptions(s);
    else
        addZelOptions(s);
}

}  // namespace ovsim
