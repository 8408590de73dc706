// Option objects behind option interfaces: scalars with units and ranges,
// enums with value sets, rectangles with bounds and alignment, and read-only
// information values. Wrong-kind calls fail, as the viewer classifies
// interfaces by which calls succeed. Values are refused, never clamped.
#pragma once
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace ovsim {

enum class OptionKind { Scalar, Enum, Rect, Info };

class Option {
public:
    virtual ~Option() = default;
    virtual OptionKind kind() const = 0;
    // Called after every successful change (e.g. to restart the frame timing).
    std::function<void()> onChange;
    // Pre-init options refuse changes once the system is initialised.
    bool fixedAfterInit = false;

protected:
    void changed() const {
        if (onChange) onChange();
    }
};

using Range = std::pair<int64_t, int64_t>;

// A unit other than the native one: conversions both ways (rounding as the
// unit sees fit); ranges in the unit are derived from the native range.
struct ScalarUnit {
    uint32_t unit;
    std::function<int64_t(int64_t native)> fromNative;
    std::function<int64_t(int64_t value)> toNative;
};

class ScalarOption : public Option {
public:
    ScalarOption(int32_t initial, std::function<Range()> nativeRange, std::vector<ScalarUnit> units = {});
    static ScalarOption fixed(int32_t initial, int64_t minimum, int64_t maximum, std::vector<ScalarUnit> units = {});
    OptionKind kind() const override { return OptionKind::Scalar; }

    int32_t native() const { return value_; }
    // Adjusts the native value without checks (for values that follow others).
    void forceNative(int32_t value) { value_ = value; }
    // Writes outside the range are moved to its nearest end instead of refused.
    void clampWrites() { clamps_ = true; }
    Range nativeRange() const { return nativeRange_(); }

    int32_t get(uint32_t unit) const;
    void set(int32_t value, uint32_t unit);
    void step(int32_t delta, uint32_t unit);
    Range range(uint32_t unit) const;
    uint32_t nextUnit(uint32_t from) const;  // throws when none at or after from
    void queryUnit(uint32_t unit) const;     // listed units only

private:
    const ScalarUnit* findUnit(uint32_t unit) const;  // null for native
    void requireUnit(uint32_t unit) const;

    int32_t value_;
    bool clamps_ = false;
    std::function<Range()> nativeRange_;
    std::vector<ScalarUnit> units_;
};

class EnumOption : public Option {
public:
    EnumOption(int32_t initial, std::vector<int32_t> allowed) : value_(initial), allowed_(std::move(allowed)) {}
    OptionKind kind() const override { return OptionKind::Enum; }
    int32_t get() const { return value_; }
    void set(int32_t value);
    void query(int32_t value) const;

private:
    int32_t value_;
    std::vector<int32_t> allowed_;
};

struct Rect {
    int32_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct RectRules {
    Rect minimum;  // x, y unused: the smallest width and height
    Rect maximum;  // the full sensor
    int32_t alignX = 1, alignY = 1, alignWidth = 1, alignHeight = 1;
};

class RectOption : public Option {
public:
    RectOption(Rect initial, RectRules rules) : value_(initial), rules_(rules) {}
    OptionKind kind() const override { return OptionKind::Rect; }
    Rect get() const { return value_; }
    void set(const Rect& rect);
    const RectRules& rules() const { return rules_; }

private:
    Rect value_;
    RectRules rules_;
};

class InfoOption : public Option {
public:
    explicit InfoOption(std::function<std::pair<int32_t, int32_t>()> read) : read_(std::move(read)) {}
    OptionKind kind() const override { return OptionKind::Info; }
    std::pair<int32_t, int32_t> read() const { return read_(); }

private:
    std::function<std::pair<int32_t, int32_t>()> read_;
};

// The common unit conversions.
ScalarUnit sameAsNative(uint32_t unit);
ScalarUnit scaledDown(uint32_t unit, int64_t divisor);    // unit = native / divisor
ScalarUnit reciprocal(uint32_t unit, int64_t numerator);  // unit = numerator / native

}  // namespace ovsim
