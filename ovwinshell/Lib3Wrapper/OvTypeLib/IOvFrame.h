#pragma once
#include <cstdint>

namespace DllModule::Lib3Wrapper::OvTypeLib {

// Pixel layout reported with every frame.
enum FrameLayout : uint32_t {
    Mono = 0,   // one 16-bit sample per pixel
    Bayer = 1,  // one 16-bit sample per pixel, GRBG colour mosaic (VEXT)
    Bgr = 2,    // three 16-bit samples per pixel: blue, green, red (ZEL)
};

// Rows of little-endian 16-bit samples, tightly packed.
class IOvFrameMemBuffer {
public:
    virtual bool GetFormat(uint32_t* width, uint32_t* height, uint32_t* bytesPerPixel) = 0;
    virtual bool SetFormat(uint32_t width, uint32_t height, uint32_t bytesPerPixel) = 0;
    virtual bool CopyFrom(IOvFrameMemBuffer* other) = 0;
    virtual bool GetData(uint8_t** data) = 0;
};

class IOvFrame {
public:
    virtual bool GetCurrent(IOvFrameMemBuffer** buffer) = 0;
    virtual bool GetOther(IOvFrameMemBuffer** buffer) = 0;
    virtual void Swap() = 0;
};

class IOvAddOnAttribute {
public:
    virtual bool GetValue(uint32_t* value) = 0;
};

}  // namespace DllModule::Lib3Wrapper::OvTypeLib
