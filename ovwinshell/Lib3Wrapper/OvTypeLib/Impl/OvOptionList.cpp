#include "OvOptionList.h"

#include <memory>

#include "LibList.h"
#include "OvEnumImpl.h"
#include "OvEnumOptionImpl.h"
#include "OvRectOptionImpl.h"
#include "OvScalarOptionImpl.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

namespace {

// The kind of an option interface, first match wins; null when it is none of them.
std::unique_ptr<OvOptionImpl> Classify(uint32_t id, uint32_t index, const char* name, OVHANDLE iface, OVHANDLE err) {
    int32_t enumValue = 0;
    if (OvLib3OptionGetEnumVal(iface, &enumValue, err) == 0)
        return std::make_unique<OvEnumOptionImpl>(id, index, name, iface);
    uint32_t unit = 0;
    if (OvLib3OptionNextScalarUnit(iface, &unit, err) <= 0)
        return std::make_unique<OvScalarOptionImpl>(id, index, name, OptionKindScalar, iface);
    int32_t x, y, width, height;
    if (OvLib3OptionGetRect(iface, &x, &y, &width, &height, err) <= 0)
        return std::make_unique<OvRectOptionImpl>(id, index, name, iface);
    return nullptr;
}

void AppendClassified(OvEnumOptionsImpl& options, uint32_t id, uint32_t index, const char* name, OVHANDLE iface,
                      OVHANDLE err) {
    if (auto option = Classify(id, index, name, iface, err)) options.Append(std::move(option));
}

}  // namespace

void FillOptionsBeforeInit(OvEnumOptionsImpl& options, OVHANDLE system, uint32_t selector, OVHANDLE err) {
    WalkList(GetList(ListPreInitOptions, selector), [&](const char* text, uint32_t id) {
        for (uint32_t index = 0; index < 10; ++index) {
            OVHANDLE iface = 0;
            if (OvLib3SystemGetOptionCInterface(system, id, index, &iface, err) <= 0)
                AppendClassified(options, id, index, text, iface, err);
        }
        return true;
    });
}

void FillOptionsAfterInit(OvEnumOptionsImpl& options, OVHANDLE system, OVHANDLE err) {
    options.Clear();
    WalkList(GetList(ListInterfaces, 0), [&](const char* text, uint32_t id) {
        OVHANDLE iface = 0;
        for (uint32_t index = 0; OvLib3SystemGetCInterface(system, id, index, &iface, err) == 0; ++index)
            AppendClassified(options, id, index, text, iface, err);
        return true;
    });
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
