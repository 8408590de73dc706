#pragma once
// The options of a camera as they were when it was created through the
// camera-type dialog; a saved profile starts with them.
#include <cstdint>
#include <string>
#include <vector>

namespace AppGui::Settings {

struct ScalarSnapshot {
    std::wstring name;
    int32_t value = 0;
    std::wstring unit;
};

struct EnumSnapshot {
    std::wstring name;
    std::wstring value;
};

struct RectSnapshot {
    std::wstring name;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct OptionSnapshots {
    std::vector<ScalarSnapshot> scalars;
    std::vector<EnumSnapshot> enums;
    std::vector<RectSnapshot> rects;

    void Clear() {
        scalars.clear();
        enums.clear();
        rects.clear();
    }
    bool Empty() const { return scalars.empty() && enums.empty() && rects.empty(); }
};

}  // namespace AppGui::Settings
