// The display side of the renderer: DirectDraw objects, surface list,
// binning, drawing and blitting, redraw, pixel readout and frame saving.
#include <algorithm>

#include "FrameFiles.h"
#include "Kernels/Binning.h"
#include "PrivateRenderer.h"
#include "RenderMessages.h"
#include "Surface.h"

namespace Render {

using namespace DllModule::Lib3Wrapper::OvTypeLib;

namespace {

template <class T>
void Release(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

}  // namespace

PrivateRenderer::~PrivateRenderer() {
    SendCommand(CommandQuit);
    surfaces_.clear();
    Release(clipper_);
    Release(primary_);
    Release(directDraw_);
}

bool PrivateRenderer::InitDisplay(HWND mainWindow) {
    CritSecLock guard(lock_);
    if (FAILED(DirectDrawCreateEx(reinterpret_cast<GUID*>(DDCREATE_EMULATIONONLY),
                                  reinterpret_cast<void**>(&directDraw_), IID_IDirectDraw7, nullptr)))
        return false;
    // Normal level needs no window. Registering the main window here makes
    // Wine's emulation stall the window's own toolbar painting, so none is given.
    // The primary surface and its clipper are the display's; frames reach the
    // windows through GDI (Present), which respects windows lying over them.
    if (FAILED(directDraw_->SetCooperativeLevel(nullptr, DDSCL_NORMAL))) return false;
    if (FAILED(directDraw_->CreateClipper(0, &clipper_, nullptr))) return false;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (FAILED(directDraw_->CreateSurface(&desc, &primary_, nullptr))) return false;
    return SUCCEEDED(primary_->SetClipper(clipper_));
}

void PrivateRenderer::AddSurface(Surface* surface) {
    CritSecLock guard(lock_);
    surfaces_.push_back(surface);
}

void PrivateRenderer::RemoveSurface(Surface* surface) {
    CritSecLock guard(lock_);
    auto found = std::find(surfaces_.begin(), surfaces_.end(), surface);
    if (found != surfaces_.end()) surfaces_.erase(found);
}

bool PrivateRenderer::ResizeSurface(Surface* surface, uint32_t width, uint32_t height) {
    CritSecLock guard(lock_);
    return directDraw_ && surface->Create(directDraw_, width, height);
}

void PrivateRenderer::DrawFrame(IOvFrameMemBuffer* buffer, uint32_t layout) {
    uint32_t width = 0, height = 0, bytesPerPixel = 0;
    uint8_t* data = nullptr;
    if (!buffer->GetFormat(&width, &height, &bytesPerPixel) || !buffer->GetData(&data)) return;
    const uint16_t* samples = reinterpret_cast<const uint16_t*>(data);
    binnedValid_ = false;
    // Only one- and three-sample frames can be binned; a mosaic frame is shown as it is.
    if (binning_ != 1 && (layout == Mono || layout == Bgr)) {
        const uint32_t samplesPerPixel = bytesPerPixel / 2;
        const uint64_t needed = Kernels::BinnedSampleCount(width, height, samplesPerPixel, binning_);
        if (resizeBinned_ || binned_.size() < needed) {
            binned_.assign(needed, 0);
            resizeBinned_ = false;
        }
        if (Kernels::BinFrame(samples, width, height, samplesPerPixel, binning_, binned_.data())) {
            width /= binning_;
            height /= binning_;
            samples = binned_.data();
            binnedValid_ = true;
        }
    }
    for (Surface* surface : surfaces_) {
        if (!IsWindow(surface->Window())) continue;
        if (!surface->Draw(samples, width, height, layout)) continue;
        Present(*surface);
    }
}

// Copies the surface's image onto its window, stretched to the whole window
// rectangle. Under Wine the emulated clipper does not cut a blit onto the
// primary surface by the windows that lie over the target (dialogs, menus,
// tooltips), so the pixels go through GDI into the window's own device
// context, whose visible region leaves every window above it untouched. They
// are read from the locked surface: a device context of the surface would
// cost a copy of the image on every frame.
void PrivateRenderer::Present(Surface& surface) {
    IDirectDrawSurface7* image = surface.OffScreen();
    if (!image) return;
    HWND window = surface.Window();
    RECT target{};
    GetWindowRect(window, &target);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    if (FAILED(image->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) return;
    const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
    if ((bits == 24 || bits == 32) && desc.lPitch > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = LONG(desc.lPitch / LONG(bits / 8));  // whole rows, padding included
        info.bmiHeader.biHeight = -LONG(desc.dwHeight);               // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = WORD(bits);
        info.bmiHeader.biCompression = BI_RGB;
        if (HDC screen = GetWindowDC(window)) {
            const int width = target.right - target.left, height = target.bottom - target.top;
            const int sourceWidth = int(desc.dwWidth), sourceHeight = int(desc.dwHeight);
            if (width == sourceWidth && height == sourceHeight) {
                SetDIBitsToDevice(screen, 0, 0, DWORD(width), DWORD(height), 0, 0, 0, DWORD(height), desc.lpSurface,
                                  &info, DIB_RGB_COLORS);
            } else {
                SetStretchBltMode(screen, COLORONCOLOR);
                StretchDIBits(screen, 0, 0, width, height, 0, 0, sourceWidth, sourceHeight, desc.lpSurface, &info,
                              DIB_RGB_COLORS, SRCCOPY);
            }
            ReleaseDC(window, screen);
        }
    }
    image->Unlock(nullptr);
}

void PrivateRenderer::Redraw() {
    CritSecLock guard(lock_);
    IOvFrameMemBuffer* buffer = nullptr;
    if (frame_ && frame_->GetCurrent(&buffer)) DrawFrame(buffer, layout_);
}

void PrivateRenderer::SetGainShift(uint32_t shift) {
    {
        CritSecLock guard(lock_);
        gainShift_ = shift;
        for (Surface* surface : surfaces_) surface->SetGainShift(shift);
    }
    if (CurrentCommand() != CommandRun) Redraw();
}

void PrivateRenderer::SetBinning(uint32_t factor) {
    {
        CritSecLock guard(lock_);
        binning_ = factor;
        resizeBinned_ = true;
        binnedValid_ = false;  // the buffer holds the old factor's image
    }
    if (CurrentCommand() != CommandRun) Redraw();
}

uint32_t PrivateRenderer::Binning() { return Locked(binning_); }

uint32_t PrivateRenderer::GainShift() { return Locked(gainShift_); }

// Under the lock: the current frame as shown (binned when the binning buffer holds it).
bool PrivateRenderer::ShownImage(FrameImage* image) {
    IOvFrameMemBuffer* buffer = nullptr;
    uint8_t* data = nullptr;
    if (!frame_ || !frame_->GetCurrent(&buffer)) return false;
    if (!buffer->GetFormat(&image->width, &image->height, &image->bytesPerPixel) || !buffer->GetData(&data))
        return false;
    image->samples = reinterpret_cast<const uint16_t*>(data);
    if (binnedValid_) {
        image->width /= binning_;
        image->height /= binning_;
        image->samples = binned_.data();
    }
    return true;
}

bool PrivateRenderer::GetPixel(int32_t x, int32_t y, uint32_t values[3], uint32_t* count) {
    CritSecLock guard(lock_);
    IOvFrameMemBuffer* buffer = nullptr;
    uint32_t width = 0, height = 0, bytesPerPixel = 0;
    if (!frame_ || !frame_->GetCurrent(&buffer) || !buffer->GetFormat(&width, &height, &bytesPerPixel)) return false;
    if (x < 0 || y < 0 || uint32_t(x) >= width || uint32_t(y) >= height) return false;
    FrameImage image;
    if (!ShownImage(&image)) return false;
    if (uint32_t(x) >= image.width || uint32_t(y) >= image.height) return false;
    const bool eightBit = DataFormat() == kDataFormat8Bit;
    const uint32_t samplesPerPixel = image.bytesPerPixel / 2;
    if (samplesPerPixel != 1 && samplesPerPixel != 3) return false;
    const uint16_t* pixel = image.samples + (uint64_t(y) * image.width + x) * samplesPerPixel;
    for (uint32_t i = 0; i < samplesPerPixel; ++i) values[i] = eightBit ? pixel[i] >> 8 : pixel[i];
    *count = samplesPerPixel;
    return true;
}

bool PrivateRenderer::SaveCurrentFrame() {
    CritSecLock guard(lock_);
    FrameImage image;
    if (!ShownImage(&image)) return false;
    std::wstring folder = host_.CaptureFolder();
    SetLastError(0);
    const bool saved = SaveFrame(TimeStampedPath(folder, LocalNow(), saveCounter_), DataFormat(), image);
    const DWORD error = saved ? 0 : GetLastError();
    ++saveCounter_;
    // A failing series would report every frame: only the first of a run is told.
    if (!saved && (!series_ || !saveFailing_)) {
        if (HWND main = host_.MainWindow()) SendNotifyMessageW(main, UWM_FRAME_NOT_SAVED, series_, error);
    }
    saveFailing_ = !saved;
    return saved;
}

}  // namespace Render
