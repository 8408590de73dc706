#pragma once
#include <cstdint>

namespace DllModule::Lib3Wrapper::OvTypeLib {

// A list with a single cursor. What the three outs and the Find keys mean
// depends on the implementation (options, (id, text) pairs, attributes).
class IOvEnum {
public:
    virtual bool First(uint32_t* id, const char** text, void** item) = 0;
    virtual bool Next(uint32_t* id, const char** text, void** item) = 0;
    virtual bool Find(uint32_t key1, uint32_t key2, void** item) = 0;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib
