#include "OvZelSystemImpl.h"

#include "Lib3Wrapper/Reported.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvOptionImpl.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvOptionList.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvSystemCommon.h"

namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel {

namespace {
const char* const kUnitPath = ".\\Lib3Wrapper\\OvTypeLib\\Impl\\Zel\\OvZelSystemImpl";
constexpr uint32_t kZelListSelector = 0;
}  // namespace

OvSystemImpl::OvSystemImpl(OVHANDLE handle) : handle_(handle) {
    FillOptionsBeforeInit(optionsBeforeInit_, handle_, kZelListSelector, err_);
}

OvSystemImpl::~OvSystemImpl() {
    optionsBeforeInit_.Clear();
    optionsAfterInit_.Clear();
    // The library created the system whether or not Init succeeded: always destroy it.
    DestroyLibrarySystem(handle_, kUnitPath);
    info_.clear();
    transfer_.reset();
}

bool OvSystemImpl::Init() {
    return RunReported([&] {
        if (!libraryInitialised_ || initialised_) LIB3_CHECK(OvLib3SystemInit(handle_, err_), err_);
        libraryInitialised_ = true;
        FillOptionsAfterInit(optionsAfterInit_, handle_, err_);
        transfer_ = std::make_unique<OvDataTransferImpl>(handle_);
        initialised_ = true;
        info_ = ReadSystemInfo(handle_, err_);
        return true;
    });
}

bool OvSystemImpl::GetOptions(IOvEnum** options) {
    *options = initialised_ ? &optionsAfterInit_ : &optionsBeforeInit_;
    return true;
}

bool OvSystemImpl::GetDataTransfer(uint32_t mode, IOvDataTransfer** transfer) {
    if (!transfer_ || mode != 0) {
        *transfer = nullptr;
        return false;
    }
    transfer_->HandOut();
    *transfer = transfer_.get();
    return true;
}

bool OvSystemImpl::LockAcquisition() { return transfer_ ? transfer_->LockIfHandedOut() : true; }

bool OvSystemImpl::UnlockAcquisition() { return transfer_ ? transfer_->UnlockIfHandedOut() : true; }

bool OvSystemImpl::GetCInterface(uint32_t interfaceId, uint32_t index, OVHANDLE* iface) {
    return OvLib3SystemGetCInterface(handle_, interfaceId, index, iface, err_) <= 0;
}

}  // namespace DllModule::Lib3Wrapper::OvTypeLib::Impl::Zel
