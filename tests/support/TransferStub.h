#pragma once
// A data transfer for tests and benches that serve frames of their own: they
// write Acquire and GetFrame, and everything else answers as a camera with
// nothing more to offer.
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"

namespace ovtest {

class TransferStub : public DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer {
public:
    using IOvDecodeOptions = DllModule::Lib3Wrapper::OvTypeLib::IOvDecodeOptions;
    using IOvAddOnAttribute = DllModule::Lib3Wrapper::OvTypeLib::IOvAddOnAttribute;

    bool StartInput() override { return true; }
    IOvDecodeOptions* GetDecodeOptions() override { return nullptr; }
    bool Trigger() override { return true; }
    bool Reserved(uint32_t, uint32_t, uint32_t, uint32_t) override { return false; }
    bool GetState(int32_t*) override { return false; }
    bool FindAttribute(uint32_t, IOvAddOnAttribute**) override { return false; }
    bool SetBackground(uint32_t, const uint16_t*) override { return false; }
    bool EnableBackground(bool) override { return false; }
    bool GetStatistics(uint32_t*, uint64_t*, uint64_t*) override { return false; }
};

}  // namespace ovtest
