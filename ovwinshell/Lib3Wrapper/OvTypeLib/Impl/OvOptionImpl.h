#pragma once
#include <cstdint>
#include <string>

#include "Common/CritSec.h"
#include "Lib3Wrapper/lib3datatypes.h"
#include "Lib3Wrapper/OvTypeLib/IOvOption.h"
#include "LibList.h"
#include "OvEnumImpl.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

// The part every option shares: identity, names, kind, interface and lock.
class OvOptionImpl : public IOvOption {
public:
    OvOptionImpl(uint32_t id, uint32_t index, const char* name, uint32_t kind, OVHANDLE iface);
    virtual ~OvOptionImpl();

    uint32_t GetId() override { return id_; }
    uint32_t GetIndex() override { return index_; }
    const char* GetName(uint32_t selector) override;
    uint32_t GetKind() override { return kind_; }
    IOvEnumOption* AsEnum() override { return nullptr; }
    IOvScalarOption* AsScalar() override { return nullptr; }
    IOvRectOption* AsRect() override { return nullptr; }

protected:
    // Fills `pairs` with the entries of a selector-1 list that the option supports.
    template <typename Supported>
    void CollectSupported(uint32_t listNumber, OvEnumPairsImpl& pairs, Supported&& supported);
    // Walks the selector-0 list over supported entries; the first that matches
    // is copied to textOut/idOut.
    template <typename Supported, typename Match>
    bool FindSupported(uint32_t listNumber, Supported&& supported, Match&& match, std::string* textOut,
                       uint32_t* idOut);

    uint32_t id_;
    uint32_t index_;
    std::string displayName_;
    std::string name_;
    uint32_t kind_;
    OVHANDLE iface_;
    CritSec lock_;
};

template <typename Supported>
void OvOptionImpl::CollectSupported(uint32_t listNumber, OvEnumPairsImpl& pairs, Supported&& supported) {
    WalkList(GetList(listNumber, 1), [&](const char* text, uint32_t id) {
        if (supported(id)) pairs.Add(id, text);
        return true;
    });
}

template <typename Supported, typename Match>
bool OvOptionImpl::FindSupported(uint32_t listNumber, Supported&& supported, Match&& match, std::string* textOut,
                                 uint32_t* idOut) {
    bool found = false;
    WalkList(GetList(listNumber, 0), [&](const char* text, uint32_t id) {
        if (!supported(id) || !match(text, id)) return true;
        if (textOut) *textOut = text;
        if (idOut) *idOut = id;
        found = true;
        return false;
    });
    return found;
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
