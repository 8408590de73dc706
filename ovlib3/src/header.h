// Data headers: a data type, a sub type, a block size and 32 numbered fields
// describing a block of image data.
#pragma once
#include <array>
#include <cstdint>

#include "ovlib3.h"
#include "pattern.h"

namespace ovsim {

constexpr uint32_t kHeaderFields = 32;

struct DataHeader {
    uint32_t dataType = 0;
    uint32_t subType = 0;
    uint64_t blockSize = 0;
    std::array<uint32_t, kHeaderFields> fields{};
    bool operator==(const DataHeader&) const = default;
};

// The header table; throws a bad-handle SimError when handle is not a header.
DataHeader& headerAt(OVHANDLE handle);
uint32_t liveDataHeaders();

// Width and height fields of a data type (mono 4/5, colour 7/8).
uint32_t headerWidth(const DataHeader& header);
uint32_t headerHeight(const DataHeader& header);
void setHeaderSize(DataHeader& header, uint32_t width, uint32_t height);

// The raw type a ZEL camera delivers for this configuration.
DataHeader rawHeaderFor(const FrameConfig& config);
// A VEXT camera's: data type 3 for both sensors, block size = one of a frame's four parts.
DataHeader vextPartHeaderFor(const FrameConfig& config);

}  // namespace ovsim
