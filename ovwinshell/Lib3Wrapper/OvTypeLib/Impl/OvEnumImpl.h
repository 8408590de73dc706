#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

class OvOptionImpl;
class OvAddOnAttributeImpl;

// Cursor handling shared by the enumerations: Describe fills the outs for one item.
template <typename Item>
class OvEnumBase : public IOvEnum {
public:
    bool First(uint32_t* id, const char** text, void** item) override {
        cursor_ = 0;
        return Current(id, text, item);
    }
    bool Next(uint32_t* id, const char** text, void** item) override {
        if (cursor_ < items_.size()) ++cursor_;
        return Current(id, text, item);
    }

    size_t Count() const { return items_.size(); }
    Item& At(size_t index) { return *items_[index]; }
    void Clear() {
        items_.clear();
        cursor_ = 0;
    }
    void Append(std::unique_ptr<Item> item) { items_.push_back(std::move(item)); }

protected:
    virtual void Describe(Item& item, uint32_t* id, const char** text, void** out) = 0;
    std::vector<std::unique_ptr<Item>> items_;

private:
    bool Current(uint32_t* id, const char** text, void** item) {
        if (cursor_ >= items_.size()) return false;
        Describe(*items_[cursor_], id, text, item);
        return true;
    }
    size_t cursor_ = 0;
};

struct OvEnumPair {
    uint32_t id;
    std::string text;
};

// (id, text) pairs: system types, units, enumeration values. Find always fails.
class OvEnumPairsImpl : public OvEnumBase<OvEnumPair> {
public:
    void Add(uint32_t id, const char* text);
    bool Find(uint32_t key1, uint32_t key2, void** item) override;

protected:
    void Describe(OvEnumPair& pair, uint32_t* id, const char** text, void** out) override;
};

// Owned option objects in the order found; Find matches (option id, index).
class OvEnumOptionsImpl : public OvEnumBase<OvOptionImpl> {
public:
    OvEnumOptionsImpl();
    ~OvEnumOptionsImpl();
    bool Find(uint32_t id, uint32_t index, void** item) override;

protected:
    void Describe(OvOptionImpl& option, uint32_t* id, const char** text, void** out) override;
};

// Add-on attributes of a transfer; Find matches the attribute id.
class OvEnumAttributesImpl : public OvEnumBase<OvAddOnAttributeImpl> {
public:
    OvEnumAttributesImpl();
    ~OvEnumAttributesImpl();
    bool Find(uint32_t id, uint32_t unused, void** item) override;

protected:
    void Describe(OvAddOnAttributeImpl& attribute, uint32_t* id, const char** text, void** out) override;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
