#pragma once
#include "OvOptionImpl.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl {

// Rectangle option (kind 2): x, y, width, height.
class OvRectOptionImpl : public OvOptionImpl, public IOvRectOption {
public:
    OvRectOptionImpl(uint32_t id, uint32_t index, const char* name, OVHANDLE iface);

    IOvRectOption* AsRect() override { return this; }

    bool GetRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) override;
    bool GetMinRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) override;
    bool GetMaxRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) override;
    bool SetRect(int32_t x, int32_t y, int32_t width, int32_t height) override;
    IOvOption* AsOption() override { return this; }

private:
    Lib3ErrorData err_;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl
