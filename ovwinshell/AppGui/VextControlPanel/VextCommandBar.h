#pragma once
// The VEXT recording panel: the second tab of the output pane for a VEXT
// camera. It switches the camera between setup (live frames), recording into
// the camera's memory and playback of the film, drives playback through the
// acquisition worker, chooses a fragment and saves it as an AVI film or a
// TIFF series (FilmExport.cpp), acquires background frames
// (VextBackground.cpp) and carries the display controls of the shared image
// processor (VextImageControls.cpp).
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "AppGui/Framework/ModelessDialog.h"
#include "Common/Owned.h"
#include "DShow/CaptureGraph.h"
#include "DShow/Compressors.h"
#include "Lib3Wrapper/OvTypeLib/IOvOption.h"
#include "Render/FileWriter.h"

namespace AppGui {

class VextCommandBar : public ModelessDialog {
public:
    enum Mode { ModeSetup = 0, ModeRecording = 1, ModePlayback = 2, ModeSaving = 3 };
    enum Format { FormatAvi = 0, FormatTif = 1 };

    VextCommandBar();
    // Destroys the window if it still exists, lets the compressors go, tears
    // the capture graph down and deletes the export worker.
    ~VextCommandBar() override;

    // Creates the panel as a child of `parent`, hidden until its tab shows it.
    HWND Create(HWND parent);

    int CurrentMode() const { return mode_; }
    bool Paused() const { return paused_; }
    bool BackgroundInvalid() const { return backgroundInvalid_; }
    HWND Toolbar() const { return toolbar_; }
    // The graph of the latest film.
    DShow::CaptureGraph& Graph() { return graph_; }

protected:
    bool OnInitDialog(HWND defaultFocus) override;
    void OnCommand(UINT id, UINT notifyCode, HWND control) override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Modes and playback (VextCommandBar.cpp).
    void CreateToolbar();
    void LookUpOptions();
    void EnterSetup();
    void EnterRecording();
    void Stop();
    void SequenceEnd(WPARAM reason);
    void FrameIndex(int32_t index);
    void Play(bool forwards);
    void Step(int step);
    void OnScroll(HWND slider, int code);
    void FrameSliderMoved();
    void SpeedSliderMoved();
    void SetFragmentEnd(bool first);
    bool ConfirmFilmLoss();
    void ResetPlaybackControls();
    void LeavePlayback();
    void UpdateRateDependent();
    void UpdateAvailableFrames();
    void OptionChanged(uint32_t id);
    void SetButton(UINT id, bool enabled);
    void SetButtons(std::initializer_list<UINT> ids, bool enabled);
    // The playback buttons and controls that exist only with a film.
    void EnableFilmControls(bool enabled);
    void EnableItems(std::initializer_list<int> ids, bool enabled);
    void ShowItem(int id, bool shown);
    void SendCaptureState(int mode, const wchar_t* text);
    void SendWorker(uint32_t command);
    void PauseWorker();
    int32_t ItemInt(int id) const;
    void SetItemInt(int id, int32_t value);
    void OnPaint();
    void OnSize(int width);

    // Film export (FilmExport.cpp).
    void SaveFilm();
    bool PrepareAviTarget(const std::wstring& name);
    void EnterSaving();
    void StartTiffExport(int32_t first, int32_t last);
    void StartAviExport(const std::wstring& name, int32_t first, int32_t last);
    void ReturnToPlayback();
    void FormatChanged();
    void NormaliseFileName();
    void Browse();
    void FillCodecList();
    void CodecChanged();
    void ReportWriteFailure();
    int SelectedFormat() const;

    // Background (VextBackground.cpp).
    void BackgroundToggled();
    void AcquireBackground();

    // Image processing (VextImageControls.cpp).
    void InitImageControls();
    void LevelsMoved(bool whiteMoved);
    void GammaMoved();
    void GammaToggled();
    void GainChanged();
    void WhiteBalanceToggled();
    void WhiteBalanceMode(UINT radio);
    void BalanceSlidersMoved();
    void EnableBalanceSliders(bool enabled);
    void SendFrameView(bool pick);

    HWND toolbar_ = nullptr;
    bool backgroundInvalid_ = true;
    bool paused_ = true;
    DllModule::Lib3Wrapper::OvTypeLib::IOvScalarOption* frameIndex_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvScalarOption* frameRate_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvScalarOption* framePosition_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvScalarOption* multiplier_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvScalarOption* pretrigger_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvScalarOption* exposure_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvEnumOption* syncMode_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvEnumOption* recordMode_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvScalarOption* totalFrames_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvRectOption* region_ = nullptr;
    int mode_ = ModeSetup;
    // The recording's frame range last shown in the status line.
    std::optional<std::pair<int32_t, int32_t>> shownRange_;
    // Members end in reverse order: the compressors, the graph, then the export.
    std::unique_ptr<Render::FileWriter> exportWorker_;
    DShow::CaptureGraph graph_;
    ComPtr<IBaseFilter> compressor_;
    std::vector<DShow::CompressorEntry> compressors_;
    HWND codecList_ = nullptr;
    HWND formatList_ = nullptr;
    HWND gainList_ = nullptr;
};

}  // namespace AppGui
