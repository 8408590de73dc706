#include "faults.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "errors.h"
#include "sim_state.h"

namespace ovsim {
namespace {

struct Fault {
    std::string function;
    bool everyCall;
    uint32_t targetCall;  // absolute call number that fails (when not every call)
    int32_t code;
};

std::map<std::string, uint32_t>& callCounts() {
    static std::map<std::string, uint32_t> counts;
    return counts;
}

std::vector<Fault>& armedFaults() {
    static std::vector<Fault> faults;
    return faults;
}

// Read when the DLL loads, so a test can make even the first call fail.
struct EnvironmentFaults {
    EnvironmentFaults() {
        if (const char* text = std::getenv("OVSIM_FAIL")) armFaultsFromText(text);
    }
} environmentFaults;

}  // namespace

std::optional<int32_t> countCallAndTakeFault(const char* function) {
    const uint32_t call = ++callCounts()[function];
    auto& faults = armedFaults();
    for (auto it = faults.begin(); it != faults.end(); ++it) {
        if (it->function != function || (!it->everyCall && it->targetCall != call)) continue;
        const int32_t code = it->code;
        if (!it->everyCall) faults.erase(it);
        return code;
    }
    return std::nullopt;
}

void armFault(const char* function, uint32_t nth, int32_t code) {
    if (!function) return;
    const uint32_t done = callCount(function);
    armedFaults().push_back({function, nth == 0, done + nth, code > 0 ? code : kErrSimulated});
}

void clearFaults() { armedFaults().clear(); }

void resetCallCounts() { callCounts().clear(); }

uint32_t callCount(const char* function) {
    if (!function) return 0;
    auto it = callCounts().find(function);
    return it == callCounts().end() ? 0 : it->second;
}

void armFaultsFromText(const char* text) {
    std::stringstream entries(text);
    std::string entry;
    while (std::getline(entries, entry, ';')) {
        std::stringstream parts(entry);
        std::string name, nth, code;
        std::getline(parts, name, ':');
        std::getline(parts, nth, ':');
        std::getline(parts, code, ':');
        if (name.empty()) continue;
        armFault(name.c_str(), static_cast<uint32_t>(std::strtoul(nth.c_str(), nullptr, 0)),
                 static_cast<int32_t>(std::strtol(code.c_str(), nullptr, 0)));
    }
}

}  // namespace ovsim

#include "guard.h"

namespace ovsim {

SimError injectedError(int32_t code) {
    std::string remark = "сбой внедрён тестом (OvSimFailCall или OVSIM_FAIL)";
    if (code == kErrSimulatedLong) {
        // Over 1500 cp1251 characters (Cyrillic is two UTF-8 bytes): lets tests check reports far over 1023 characters.
        remark += ": ";
        while (remark.size() < 3200) remark += "длинное пояснение симулятора; ";
    }
    return SimError{code, __FILE__, __LINE__, 0, remark};
}

}  // namespace ovsim
