// OvLib3Codec: decodes raw camera data to 16-bit samples. Mono and the colour
// formats 0x10003/0x10004 decode in one step; the GRBG mosaic 0x10002 needs two
// (raw -> 16-bit mosaic -> 48-bit BGR).
#include <algorithm>
#include <cstring>
#include <vector>

#include "guard.h"
#include "header.h"
#include "ids.h"
#include "pixel_formats.h"

using namespace ovsim;

namespace {

struct Step {
    const PixelFormat* format;  // the input's pixel format
    bool inputDecoded;          // input already 16 bits per sample
    uint32_t outputCode;
    uint32_t outputBits;
};

// The one conversion each input type allows.
Step stepFor(const DataHeader& in, OVHANDLE handle) {
    const PixelFormat* format = formatByCode(in.fields[kFieldPixelFormat]);
    const uint32_t layout = in.fields[kFieldLayout];
    if (!format || (layout != kLayoutRaw && layout != kLayoutDecoded))
        OV_FAIL(kErrConversion, handle, "неизвестный тип входных данных");
    const bool decoded = layout == kLayoutDecoded;
    if (!format->colour) return {format, decoded, format->code, 16};
    if (format->mosaic) return {format, decoded, decoded ? kPixBgr48 : kPixMosaic, decoded ? 48u : 16u};
    if (decoded && format->code != kPixBgr48) OV_FAIL(kErrConversion, handle, "неизвестный тип входных данных");
    return {format, decoded, kPixBgr48, 48};
}

uint64_t inputBytes(const Step& step, uint32_t width, uint32_t height) {
    if (!step.inputDecoded) return rawBlockBytes(*step.format, width, height);
    const uint64_t channels = step.format->code == kPixBgr48 ? 3 : 1;
    return uint64_t(width) * height * channels * 2;
}

void checkGeometry(const Step& step, uint32_t width, uint32_t height, OVHANDLE handle) {
    const uint64_t pixels = uint64_t(width) * height;
    bool ok = pixels > 0;
    if (step.format->rawBits == 10 && !step.inputDecoded) ok = ok && pixels % 4 == 0;
    if (step.format->rawBits == 12 && !step.inputDecoded) ok = ok && pixels % 2 == 0;
    if (step.format->mosaic && step.outputCode == kPixBgr48) ok = ok && width % 2 == 0 && height % 2 == 0;
    if (!ok) OV_FAIL(kErrConversion, handle, "размеры изображения не подходят формату");
}

// The output header is read for one thing only: a request to turn the raw
// mosaic straight into 48-bit BGR (field 9 = 0x10004) is refused, as the
// mosaic needs two steps. Any other content is overwritten with the result.
void checkRequest(const DataHeader& requested, const Step& step, OVHANDLE handle) {
    if (step.format->mosaic && !step.inputDecoded && requested.fields[kFieldPixelFormat] == kPixBgr48)
        OV_FAIL(kErrConversion, handle,
                "мозаику преобразуют в два шага: сначала в 16 бит (0x10002), затем в BGR 48 бит");
}

// Decodes straight into the caller's buffer (bytes long): a live camera
// decodes every frame, so no frame-sized copy is made on the way.
void convertInto(const Step& step, const uint8_t* in, uint64_t inSize, uint32_t width, uint32_t height, uint8_t* out,
                 uint64_t bytes) {
    if (!step.inputDecoded) {
        unpackRaw(*step.format, in, width, height, reinterpret_cast<uint16_t*>(out));
        return;
    }
    if (step.outputCode != kPixBgr48 || step.format->code == kPixBgr48) {
        std::memcpy(out, in, std::min(inSize, bytes));
        return;
    }
    if (reinterpret_cast<uintptr_t>(in) % alignof(uint16_t) == 0) {
        demosaicGrbg(reinterpret_cast<const uint16_t*>(in), width, height, reinterpret_cast<uint16_t*>(out));
        return;
    }
    std::vector<uint16_t> mosaic(inSize / 2);  // a misaligned input as aligned 16-bit samples
    std::memcpy(mosaic.data(), in, inSize);
    demosaicGrbg(mosaic.data(), width, height, reinterpret_cast<uint16_t*>(out));
}

}  // namespace

extern "C" {

OVRESULT OVLIB3_CALL OvLib3Codec(OVHANDLE inHeader, const void* inData, uint32_t inSizeLow, uint32_t inSizeHigh,
                                 OVHANDLE outHeader, void* outData, uint64_t outSize, uint64_t* produced,
                                 OVHANDLE err) {
    return runExport("OvLib3Codec", err, [&](Lock&) {
        const DataHeader in = headerAt(inHeader);
        DataHeader& out = headerAt(outHeader);
        if (!produced) OV_FAIL(kErrBadParameter, outHeader, "нет места для размера результата");
        const Step step = stepFor(in, inHeader);
        checkRequest(out, step, outHeader);
        const uint32_t width = headerWidth(in), height = headerHeight(in);
        checkGeometry(step, width, height, inHeader);

        DataHeader result = in;
        result.fields[kFieldPixelFormat] = step.outputCode;
        result.fields[kFieldLayout] = kLayoutDecoded;
        result.fields[kFieldBitsPerPixel] = step.outputBits;
        result.blockSize = uint64_t(width) * height * step.outputBits / 8;

        *produced = result.blockSize;
        if (!outData && outSize == 0) {  // a size query
            out = result;
            return 0;
        }
        const uint64_t inSize = (uint64_t(inSizeHigh) << 32) | inSizeLow;
        const uint64_t expected = inputBytes(step, width, height);
        if (!inData) OV_FAIL(kErrBadParameter, inHeader, "нет входных данных");
        if (inSize != expected)
            OV_FAIL(kErrSizeMismatch, inHeader,
                    "входных байт " + std::to_string(inSize) + ", по заголовку " + std::to_string(expected));
        if (!outData || outSize < result.blockSize)
            OV_FAIL(kErrBufferTooSmall, outHeader,
                    "выходной буфер " + std::to_string(outSize) + " байт, нужно " + std::to_string(result.blockSize));
        convertInto(step, static_cast<const uint8_t*>(inData), inSize, width, height, static_cast<uint8_t*>(outData),
                    result.blockSize);
        out = result;
        return 0;
    });
}

}  // extern "C"
