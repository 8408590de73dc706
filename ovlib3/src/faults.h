// Call counting and deterministic fault injection for the exports.
#pragma once
#include <cstdint>
#include <optional>

namespace ovsim {

// Counts one call of the export and returns the injected error code when a
// fault armed for this call fires. Called under the library lock.
std::optional<int32_t> countCallAndTakeFault(const char* function);

// nth: 1-based call counted from now; 0 = every call. code 0 = default code.
void armFault(const char* function, uint32_t nth, int32_t code);
void clearFaults();
void resetCallCounts();
uint32_t callCount(const char* function);

// Parses "function[:nth[:code]];..." (the OVSIM_FAIL variable's format).
void armFaultsFromText(const char* text);

}  // namespace ovsim
