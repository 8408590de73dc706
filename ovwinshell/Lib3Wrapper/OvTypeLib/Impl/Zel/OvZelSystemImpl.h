#pragma once
#include <memory>
#include <string>

#include "Lib3Wrapper/lib3datatypes.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvEnumImpl.h"
#include "OvZelDataTransferImpl.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel {

class OvSystemImpl final : public IOvSystem {
public:
    explicit OvSystemImpl(OVHANDLE handle);
    ~OvSystemImpl();
    OvSystemImpl(const OvSystemImpl&) = delete;
    OvSystemImpl& operator=(const OvSystemImpl&) = delete;

    bool Init() override;
    bool GetOptions(IOvEnum** options) override;
    bool GetDataTransfer(uint32_t mode, IOvDataTransfer** transfer) override;
    bool StopInput(bool) override { return true; }
    bool LockAcquisition() override;
    bool UnlockAcquisition() override;
    const char* GetInfo() override { return info_.c_str(); }
    bool GetCInterface(uint32_t interfaceId, uint32_t index, OVHANDLE* iface) override;

private:
    Lib3ErrorData err_;
    OVHANDLE handle_;
    bool initialised_ = false;
    // The library's own Init succeeded: a retry after a later step failed must not repeat it.
    bool libraryInitialised_ = false;
    OvEnumOptionsImpl optionsBeforeInit_;
    OvEnumOptionsImpl optionsAfterInit_;
    std::unique_ptr<OvDataTransferImpl> transfer_;
    std::string info_;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel
