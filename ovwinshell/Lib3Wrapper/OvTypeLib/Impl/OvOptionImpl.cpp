#include "OvOptionImpl.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

namespace {
// The display text with selector 1 of list `number` for `id`; false if absent.
bool FindDisplayName(uint32_t number, uint32_t id, std::string& name) {
    bool found = false;
    WalkList(GetList(number, 1), [&](const char* text, uint32_t entryId) {
        if (entryId != id) return true;
        name = text;
        found = true;
        return false;
    });
    return found;
}
}  // namespace

OvOptionImpl::OvOptionImpl(uint32_t id, uint32_t index, const char* name, uint32_t kind, OVHANDLE iface)
    : id_(id), index_(index), name_(name ? name : ""), kind_(kind), iface_(iface) {
    if (!FindDisplayName(ListPreInitOptions, id, displayName_)) FindDisplayName(ListInterfaces, id, displayName_);
}

OvOptionImpl::~OvOptionImpl() = default;

const char* OvOptionImpl::GetName(uint32_t selector) { return selector == 1 ? displayName_.c_str() : name_.c_str(); }

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
