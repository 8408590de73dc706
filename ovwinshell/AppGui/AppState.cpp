#include "AppState.h"

#include <objbase.h>

#include "Render/PrivateRenderer.h"

AppState& AppState::Get() {
    static AppState state;
    return state;
}

AppState::AppState()
    : comInitialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))),
      renderer_(std::make_unique<Render::PrivateRenderer>(*this)) {}

AppState::~AppState() {
    renderer_.reset();
    if (comInitialised_) CoUninitialize();
}
