#include "system.h"

#include "handles.h"
#include "ids.h"
#include "input.h"
#include "pixel_formats.h"
#include "text1251.h"

namespace ovsim {
namespace {

// A high-speed camera sees bright scenes: the default exposure (500 us) gives mid-grey.
constexpr int32_t kVextReferenceExposureUs = 400;

HandleTable<System>& systems() {
    static HandleTable<System> table;
    return table;
}

HandleTable<Interface>& interfaces() {
    static HandleTable<Interface> table;
    return table;
}

OVHANDLE& newest() {
    static OVHANDLE handle = 0;
    return handle;
}

}  // namespace

void System::addOption(Stage stage, uint32_t id, uint32_t index, std::unique_ptr<Option> option,
                       std::function<void()> alsoOnChange) {
    option->fixedAfterInit = stage == Stage::PreInit;
    option->onChange = [this, also = std::move(alsoOnChange)] {
        if (also) also();
        ++configGeneration;
    };
    options[{stage, id, index}] = std::move(option);
}

Option* System::findOption(Stage stage, uint32_t id, uint32_t index) const {
    auto it = options.find({stage, id, index});
    return it == options.end() ? nullptr : it->second.get();
}

FrameConfig System::frameConfig() const {
    FrameConfig c;
    c.sensorWidth = uint32_t(model.sensorWidth);
    c.sensorHeight = uint32_t(model.sensorHeight);
    c.roi = option<RectOption>(kOptRegion).get();
    c.exposureUs = option<ScalarOption>(kOptExposure).native();
    if (model.family == Family::Vext) {
        c.format = formatByEnum(colour() ? kFormatMosaic10 : kFormatMono10Packed);
        c.referenceExposureUs = kVextReferenceExposureUs;
    } else {
        c.format = formatByEnum(option<EnumOption>(kOptDataFormat).get());
        c.gainCenti = option<ScalarOption>(kOptGain).native();
    }
    return c;
}

bool System::colour() const {
    if (model.family == Family::Zel) return model.colour;
    const Option* sensor = findOption(Stage::PreInit, kOptSensor, 0);
    return sensor && dynamic_cast<const EnumOption&>(*sensor).get() == kSensorColour;
}

int32_t System::sensorTemperature() const {
    // Warms up slowly over the first minutes after initialisation.
    if (!initialised) return 25;
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(Clock::now() - initTime).count();
    return int32_t(36 + std::min<int64_t>(minutes, 4));
}

System& systemAt(OVHANDLE handle) {
    System* system = systems().find(handle);
    if (!system) OV_FAIL(kErrBadHandle, handle, "это не система");
    return *system;
}

Interface& interfaceAt(OVHANDLE handle) {
    Interface* iface = interfaces().find(handle);
    if (!iface) OV_FAIL(kErrBadHandle, handle, "это не интерфейс");
    return *iface;
}

OVHANDLE createSystem(const CameraModel& model) {
    auto system = std::make_unique<System>(model);
    addPreInitOptions(*system);
    newest() = systems().add(std::move(system));
    return newest();
}

void destroySystem(OVHANDLE handle) {
    System& system = systemAt(handle);
    for (const auto& [key, iface] : system.interfaces) interfaces().remove(iface);
    if (system.input) destroyInput(system.input);
    systems().remove(handle);
    if (newest() == handle) newest() = 0;
}

OVHANDLE interfaceHandle(OVHANDLE systemHandle, const OptionKey& key, Option* option) {
    System& system = systemAt(systemHandle);
    auto it = system.interfaces.find(key);
    if (it != system.interfaces.end()) return it->second;
    const OVHANDLE handle = interfaces().add(std::make_unique<Interface>(Interface{systemHandle, key, option}));
    system.interfaces[key] = handle;
    return handle;
}

OVHANDLE newestSystem() { return newest(); }

uint32_t liveSystems() { return systems().size(); }

void forEachSystem(const std::function<void(OVHANDLE, System&)>& visit) { systems().forEach(visit); }

// Errors name the camera's model file for any handle that belongs to a system.
std::string objectFileOf(OVHANDLE object) {
    if (const System* system = systems().find(object)) return system->model.modelFile;
    if (const Interface* iface = interfaces().find(object)) return objectFileOf(iface->system);
    if (const OVHANDLE owner = systemOfInput(object)) return objectFileOf(owner);
    return "";
}

}  // namespace ovsim
