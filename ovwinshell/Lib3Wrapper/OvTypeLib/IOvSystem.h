#pragma once
#include <cstdint>
#include "ovlib3.h"

namespace DllModule::Lib3Wrapper::OvTypeLib {

class IOvEnum;
class IOvDataTransfer;

// One opened camera installation. No virtual destructor: systems are deleted
// only by the library globals through their concrete type.
class IOvSystem {
public:
    virtual bool Init() = 0;
    virtual bool GetOptions(IOvEnum** options) = 0;
    virtual bool GetDataTransfer(uint32_t mode, IOvDataTransfer** transfer) = 0;
    virtual bool StopInput(bool wait) = 0;
    virtual bool LockAcquisition() = 0;
    virtual bool UnlockAcquisition() = 0;
    virtual const char* GetInfo() = 0;
    virtual bool GetCInterface(uint32_t interfaceId, uint32_t index, OVHANDLE* iface) = 0;

protected:
    ~IOvSystem() = default;
};

constexpr uint32_t VextSystemType = 3;

}  // namespace DllModule::Lib3Wrapper::OvTypeLib
