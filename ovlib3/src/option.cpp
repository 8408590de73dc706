#include "option.h"

#include <algorithm>
#include <string>

#include "errors.h"

namespace ovsim {
namespace {

std::string rangeText(int64_t value, const Range& range) {
    return "значение " + std::to_string(value) + " вне диапазона " + std::to_string(range.first) + ".." +
           std::to_string(range.second);
}

bool inside(int64_t value, const Range& range) { return value >= range.first && value <= range.second; }

int64_t roundedDivide(int64_t numerator, int64_t denominator) {
    return denominator == 0 ? 0 : (numerator + denominator / 2) / denominator;
}

}  // namespace

ScalarOption::ScalarOption(int32_t initial, std::function<Range()> nativeRange, std::vector<ScalarUnit> units)
    : value_(initial), nativeRange_(std::move(nativeRange)), units_(std::move(units)) {}

ScalarOption ScalarOption::fixed(int32_t initial, int64_t minimum, int64_t maximum, std::vector<ScalarUnit> units) {
    return ScalarOption(
        initial,
        [=] {
            return Range{minimum, maximum};
        },
        std::move(units));
}

const ScalarUnit* ScalarOption::findUnit(uint32_t unit) const {
    for (const auto& candidate : units_)
        if (candidate.unit == unit) return &candidate;
    return nullptr;
}

void ScalarOption::requireUnit(uint32_t unit) const {
    if (unit != 0 && !findUnit(unit))
        OV_FAIL(kErrUnitUnsupported, 0, "единица " + std::to_string(unit) + " не поддерживается параметром");
}

int32_t ScalarOption::get(uint32_t unit) const {
    requireUnit(unit);
    const ScalarUnit* converted = findUnit(unit);
    return static_cast<int32_t>(converted ? converted->fromNative(value_) : value_);
}

Range ScalarOption::range(uint32_t unit) const {
    requireUnit(unit);
    const Range native = nativeRange_();
    const ScalarUnit* converted = findUnit(unit);
    if (!converted) return native;
    int64_t low = converted->fromNative(native.first), high = converted->fromNative(native.second);
    if (low > high) std::swap(low, high);
    // Rounding may put an end just outside the native range: pull it in.
    for (int i = 0; i < 4 && low < high && !inside(converted->toNative(low), native); ++i) ++low;
    for (int i = 0; i < 4 && low < high && !inside(converted->toNative(high), native); ++i) --high;
    return {low, high};
}

void ScalarOption::set(int32_t value, uint32_t unit) {
    const Range allowed = range(unit);
    if (clamps_) value = static_cast<int32_t>(std::clamp<int64_t>(value, allowed.first, allowed.second));
    if (!inside(value, allowed)) OV_FAIL(kErrOutOfRange, 0, rangeText(value, allowed));
    const ScalarUnit* converted = findUnit(unit);
    const int64_t native = converted ? converted->toNative(value) : value;
    if (!inside(native, nativeRange_())) OV_FAIL(kErrOutOfRange, 0, rangeText(native, nativeRange_()));
    if (native == value_) return;  // re-applying a value does not restart the camera
    value_ = static_cast<int32_t>(native);
    changed();
}

void ScalarOption::step(int32_t delta, uint32_t unit) {
    const int64_t target = static_cast<int64_t>(get(unit)) + delta;
    const Range allowed = range(unit);
    if (!inside(target, allowed)) OV_FAIL(kErrOutOfRange, 0, rangeText(target, allowed));
    set(static_cast<int32_t>(target), unit);
}

uint32_t ScalarOption::nextUnit(uint32_t from) const {
    if (from == 0) return 0;
    const ScalarUnit* best = nullptr;
    for (const auto& candidate : units_)
        if (candidate.unit >= from && (!best || candidate.unit < best->unit)) best = &candidate;
    if (!best) OV_FAIL(kErrUnitUnsupported, 0, "нет единиц с номером от " + std::to_string(from));
    return best->unit;
}

void ScalarOption::queryUnit(uint32_t unit) const {
    if (!findUnit(unit)) OV_FAIL(kErrUnitUnsupported, 0, "единица " + std::to_string(unit) + " не поддерживается");
}

void EnumOption::query(int32_t value) const {
    if (std::find(allowed_.begin(), allowed_.end(), value) == allowed_.end())
        OV_FAIL(kErrEnumValue, 0, "значение " + std::to_string(value) + " не поддерживается");
}

void EnumOption::set(int32_t value) {
    query(value);
    if (value == value_) return;
    value_ = value;
    changed();
}

void RectOption::set(const Rect& r) {
    const Rect& max = rules_.maximum;
    const std::string text = "область " + std::to_string(r.x) + "," + std::to_string(r.y) + " " +
                             std::to_string(r.width) + "x" + std::to_string(r.height);
    if (r.x < max.x || r.y < max.y || r.width < rules_.minimum.width || r.height < rules_.minimum.height ||
        static_cast<int64_t>(r.x) + r.width > static_cast<int64_t>(max.x) + max.width ||
        static_cast<int64_t>(r.y) + r.height > static_cast<int64_t>(max.y) + max.height)
        OV_FAIL(kErrRect, 0, text + " выходит за пределы датчика");
    if (r.x % rules_.alignX || r.y % rules_.alignY || r.width % rules_.alignWidth || r.height % rules_.alignHeight)
        OV_FAIL(kErrRect, 0,
                text + " не выровнена (x кратно " + std::to_string(rules_.alignX) + ", y кратно " +
                    std::to_string(rules_.alignY) + ", ширина кратна " + std::to_string(rules_.alignWidth) +
                    ", высота кратна " + std::to_string(rules_.alignHeight) + ")");
    if (r == value_) return;
    value_ = r;
    changed();
}

ScalarUnit sameAsNative(uint32_t unit) {
    return {unit, [](int64_t n) { return n; }, [](int64_t v) { return v; }};
}

ScalarUnit scaledDown(uint32_t unit, int64_t divisor) {
    return {unit, [=](int64_t n) { return roundedDivide(n, divisor); }, [=](int64_t v) { return v * divisor; }};
}

ScalarUnit reciprocal(uint32_t unit, int64_t numerator) {
    return {unit, [=](int64_t n) { return roundedDivide(numerator, n); },
            [=](int64_t v) { return roundedDivide(numerator, v); }};
}

}  // namespace ovsim
