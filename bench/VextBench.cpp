// Rows of the VEXT camera's data path: unpacking and combining a packed
// 1024 x 1024 frame (with and without a background), and whole playback
// frames read from the simulated camera through the camera layer.
#include <random>

#include "Bench.h"
#include "Lib3Wrapper/Exports.h"
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"
#include "Lib3Wrapper/OvTypeLib/IOvOption.h"
#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"
#include "Render/Kernels/VextUnpack.h"
#include "ovlib3_sim.h"
#include "vext_packing.h"

namespace {

using namespace DllModule::Lib3Wrapper;
using namespace DllModule::Lib3Wrapper::OvTypeLib;

constexpr size_t kPixels = 1024 * 1024;

void BenchUnpackAndCombine() {
    std::mt19937 random(5);
    std::vector<uint16_t> samples(kPixels);
    for (uint16_t& v : samples) v = uint16_t(random() & 0x3FF);
    std::vector<uint8_t> parts[4];
    uint8_t* partPointers[4];
    for (int k = 0; k < 4; ++k) partPointers[k] = (parts[k].resize(ovsim::vextPartBytes(kPixels)), parts[k].data());
    ovsim::packVextFrame(samples.data(), kPixels, partPointers);
    std::vector<uint32_t> planes[4];
    for (auto& plane : planes) plane.resize(Render::Kernels::VextPlaneWords(kPixels));
    const uint32_t* planePointers[4] = {planes[0].data(), planes[1].data(), planes[2].data(), planes[3].data()};
    std::vector<uint16_t> frame(kPixels), background(kPixels, 0x4000);
    auto decode = [&](const uint16_t* subtract) {
        return bench::BestSeconds([&] {
            for (int k = 0; k < 4; ++k) Render::Kernels::UnpackVextPart(parts[k].data(), kPixels, planes[k].data());
            Render::Kernels::CombineVextPlanes(planePointers, kPixels, subtract, Render::Kernels::kVextBackgroundOffset,
                                               frame.data());
        });
    };
    bench::PrintRow("VEXT unpack + combine", decode(nullptr), double(kPixels), kPixels * 2);
    bench::PrintRow("VEXT unpack + combine, background", decode(background.data()), double(kPixels), kPixels * 2);
}

bool SetFilmLength(IOvSystem* system, int32_t frames) {
    IOvOption* position = FindSystemOption(system, OptionIds::kFramePosition);
    return position && position->AsScalar() && position->AsScalar()->SetValue(0, frames);
}

// Acquire + GetFrame of recorded frames in turn, the simulated camera in its fast mode.
void BenchPlayback() {
    constexpr uint32_t kVext = VextSystemType;
    constexpr int32_t kFilm = 16;
    OvSimSetFastMode(1);
    IOvSystem* system = nullptr;
    IOvDataTransfer* transfer = nullptr;
    if (!Lib3CreateSystem(kVext, &system, nullptr) || !system->Init() || !SetFilmLength(system, kFilm) ||
        !system->GetDataTransfer(1, &transfer) || !system->StopInput(true) || !system->GetDataTransfer(2, &transfer)) {
        std::printf("VEXT playback: the simulated camera could not record\n");
        Lib3ReleaseSystem(kVext);
        return;
    }
    int32_t next = 0;
    const double seconds = bench::BestSeconds([&] {
        int32_t index = next++ % kFilm;
        IOvFrame* frame = nullptr;
        uint32_t layout = 0;
        if (transfer->Acquire(&index)) transfer->GetFrame(&frame, &layout);
    });
    bench::PrintRow("VEXT playback Acquire+GetFrame (sim)", seconds, double(kPixels), kPixels * 2);
    Lib3ReleaseSystem(kVext);
    OvSimSetFastMode(0);
}

}  // namespace

void BenchVextTransfer() {
    BenchUnpackAndCombine();
    BenchPlayback();
}
