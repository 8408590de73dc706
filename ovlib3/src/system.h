// Camera systems and the interfaces they hand out.
#pragma once
#include <compare>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "camera_model.h"
#include "errors.h"
#include "option.h"
#include "ovlib3.h"
#include "pattern.h"
#include "sim_state.h"
#include "vext_memory.h"

namespace ovsim {

enum class Stage { PreInit, PostInit };

struct OptionKey {
    Stage stage;
    uint32_t id;
    uint32_t index;
    auto operator<=>(const OptionKey&) const = default;
};

class System {
public:
    explicit System(const CameraModel& m) : model(m) {}
    System(const System&) = delete;  // options and interfaces point back at it

    const CameraModel& model;
    bool initialised = false;
    Clock::time_point initTime{};
    uint64_t configGeneration = 0;  // bumped by every option change
    VextState vext;                 // VEXT recording memory
    OVHANDLE input = 0;
    std::map<OptionKey, std::unique_ptr<Option>> options;
    std::map<OptionKey, OVHANDLE> interfaces;  // handles handed out so far

    void addOption(Stage stage, uint32_t id, uint32_t index, std::unique_ptr<Option> option,
                   std::function<void()> alsoOnChange = {});
    Option* findOption(Stage stage, uint32_t id, uint32_t index) const;

    // A post-init option the model is known to have.
    template <class T>
    T& option(uint32_t id, uint32_t index = 0) const {
        return dynamic_cast<T&>(*findOption(Stage::PostInit, id, index));
    }

    FrameConfig frameConfig() const;
    bool colour() const;                // ZEL by model, VEXT by its sensor option
    int32_t sensorTemperature() const;  // degrees Celsius
};

// What an interface handle stands for.
struct Interface {
    OVHANDLE system;
    OptionKey key;
    Option* option;  // null for control interfaces
};

// Lookups throw a bad-handle SimError for unknown handles.
System& systemAt(OVHANDLE handle);
Interface& interfaceAt(OVHANDLE handle);

OVHANDLE createSystem(const CameraModel& model);
void destroySystem(OVHANDLE handle);
// The interface handle for (stage, id, index), made on first request.
OVHANDLE interfaceHandle(OVHANDLE system, const OptionKey& key, Option* option);

// The most recently created system still alive (0 if none), for the test controls.
OVHANDLE newestSystem();
uint32_t liveSystems();
void forEachSystem(const std::function<void(OVHANDLE, System&)>& visit);

}  // namespace ovsim
