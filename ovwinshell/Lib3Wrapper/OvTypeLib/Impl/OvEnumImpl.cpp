#include "OvEnumImpl.h"

#include "OvFrameImpl.h"
#include "OvOptionImpl.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

void OvEnumPairsImpl::Add(uint32_t id, const char* text) {
    Append(std::make_unique<OvEnumPair>(OvEnumPair{id, text ? text : ""}));
}

bool OvEnumPairsImpl::Find(uint32_t, uint32_t, void** item) {
    if (item) *item = nullptr;
    return false;
}

void OvEnumPairsImpl::Describe(OvEnumPair& pair, uint32_t* id, const char** text, void** out) {
    if (id) *id = pair.id;
    if (text) *text = pair.text.c_str();
    if (out) *out = nullptr;
}

OvEnumOptionsImpl::OvEnumOptionsImpl() = default;
OvEnumOptionsImpl::~OvEnumOptionsImpl() = default;

bool OvEnumOptionsImpl::Find(uint32_t id, uint32_t index, void** item) {
    for (auto& option : items_) {
        if (option->GetId() == id && option->GetIndex() == index) {
            if (item) *item = static_cast<IOvOption*>(option.get());
            return true;
        }
    }
    if (item) *item = nullptr;
    return false;
}

void OvEnumOptionsImpl::Describe(OvOptionImpl& option, uint32_t* id, const char** text, void** out) {
    if (id) *id = option.GetId();
    if (text) *text = option.GetName(1);
    if (out) *out = static_cast<IOvOption*>(&option);
}

OvEnumAttributesImpl::OvEnumAttributesImpl() = default;
OvEnumAttributesImpl::~OvEnumAttributesImpl() = default;

bool OvEnumAttributesImpl::Find(uint32_t id, uint32_t, void** item) {
    for (auto& attribute : items_) {
        if (attribute->GetId() == id) {
            if (item) *item = static_cast<IOvAddOnAttribute*>(attribute.get());
            return true;
        }
    }
    if (item) *item = nullptr;
    return false;
}

void OvEnumAttributesImpl::Describe(OvAddOnAttributeImpl& attribute, uint32_t* id, const char** text, void** out) {
    if (id) *id = attribute.GetId();
    if (text) *text = attribute.GetName();
    if (out) *out = static_cast<IOvAddOnAttribute*>(&attribute);
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
