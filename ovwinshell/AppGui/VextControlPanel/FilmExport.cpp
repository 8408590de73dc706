// The recording panel's save command: the checks on the target, the film's
// settings companion, the saving state, and the two export paths (a TIFF
// series through FileWriter, an AVI film through the capture graph); the
// "Файл", "Формат" and "Кодек" controls.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/FailureReport.h"
#include "AppGui/Framework/ResourceText.h"
#include "AppGui/Framework/WaitCursor.h"
#include "AppGui/Resources/resource.h"
#include "AppGui/Settings/Preferences.h"
#include "AppGui/VextControlPanel/PanelLogic.h"
#include "AppGui/VextControlPanel/VextCommandBar.h"
#include "DShow/AviExport.h"
#include "Render/ImageProcessor.h"
#include "Render/PrivateRenderer.h"

namespace AppGui {

namespace {

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int VextCommandBar::SelectedFormat() const {
    return SendMessageW(formatList_, CB_GETCURSEL, 0, 0) == FormatTif ? FormatTif : FormatAvi;
}

void VextCommandBar::SaveFilm() {
    PauseWorker();
    const std::wstring name = ItemText(IDC_VEXT_FILE);
    const int format = SelectedFormat();
    if (format == FormatAvi && !PrepareAviTarget(name)) return;
    EnterSaving();
    const int32_t first = ItemInt(IDC_VEXT_FIRST);
    const int32_t last = ItemInt(IDC_VEXT_LAST);
    HWND progress = Item(IDC_VEXT_SAVING_PROGRESS);
    SendMessageW(progress, PBM_SETRANGE32, WPARAM(first), LPARAM(last));
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    SendMessageW(progress, PBM_SETSTEP, 1, 0);
    if (format == FormatTif)
        StartTiffExport(first, last);
    else
        StartAviExport(name, first, last);
}

// The name check, the overwrite question and the settings companion; false
// when the save goes no further.
bool VextCommandBar::PrepareAviTarget(const std::wstring& name) {
    // A folder that does not exist is refused here: a graph whose file
    // cannot be opened fails to start and then hangs when it is released.
    const size_t slash = name.find_last_of(L"\\/");
    const bool folderMissing = slash != std::wstring::npos && slash > 0 && !FileExists(name.substr(0, slash));
    if (ItemText(IDC_VEXT_FILE).empty() || folderMissing) {
        MessageBoxW(Handle(), L"Недопустимое имя файла", L"Сохранение фильма", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    // The edit shows the normalised name; this save still uses the name as it was.
    NormaliseFileName();
    if (FileExists(name)) {
        if (MessageBoxW(Handle(), L"Файл существует. Заменить?", L"Выбор файла", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        DeleteFileW(name.c_str());
    }
    const std::wstring companion = name + L".info";
    if (HWND main = AppState::Get().mainWindow)
        SendMessageW(main, UWM_WRITE_OPTIONS, 0, reinterpret_cast<LPARAM>(companion.c_str()));
    return true;
}

void VextCommandBar::EnterSaving() {
    EnableItems({IDC_VEXT_FRAME_SLIDER}, false);
    ShowItem(IDC_VEXT_STATUS, false);
    ShowItem(IDC_VEXT_SAVING, true);
    ShowItem(IDC_VEXT_SAVING_PROGRESS, true);
    // Only Stop stays usable while a fragment is saved.
    SetButtons(
        {ID_VEXT_SETUP, ID_VEXT_RECORD, ID_VEXT_STEP_BACK, ID_VEXT_PLAY_BACK, ID_VEXT_PLAY, ID_VEXT_STEP, ID_VEXT_SAVE},
        false);
    mode_ = ModeSaving;
    SendCaptureState(ModeSaving, L"Сохранение");
}

void VextCommandBar::StartTiffExport(int32_t first, int32_t last) {
    exportWorker_.reset();
    AppState& state = AppState::Get();
    exportWorker_ = std::make_unique<Render::FileWriter>(state.transfer, state.captureFolder, first, last, Handle());
    exportWorker_->Start();
    exportWorker_->SendCommand(Render::CommandRun);
}

void VextCommandBar::StartAviExport(const std::wstring& name, int32_t first, int32_t last) {
    OAFilterState state = State_Stopped;
    if (graph_.State(&state) && state != State_Stopped) graph_.Stop();
    const DShow::AviExportRequest request{.transfer = AppState::Get().transfer,
                                          .processor = &Render::ImageProcessor::Instance(),
                                          .first = first,
                                          .last = last,
                                          .fileName = name,
                                          .notifyWindow = Handle(),
                                          .compressor = compressor_.Get()};
    // A graph that cannot be built or run sends no end of its own: the holder
    // has shown why, and the panel goes back to playback at once.
    if (DShow::StartAviExport(graph_, request, false) != DShow::ExportStart::Running) {
        graph_.Stop();
        ReturnToPlayback();
    }
}

void VextCommandBar::ReturnToPlayback() {
    EnableFilmControls(true);
    ShowItem(IDC_VEXT_SAVING, false);
    ShowItem(IDC_VEXT_SAVING_PROGRESS, false);
    SetButtons({ID_VEXT_SETUP, ID_VEXT_RECORD}, true);
    mode_ = ModePlayback;
    SendCaptureState(ModePlayback, L"Просмотр");
}

void VextCommandBar::ReportWriteFailure() {
    if (!exportWorker_) return;
    const std::wstring text = FillIn(LoadText(IDS_VEXT_WRITE_FAILED),
                                     {std::to_wstring(exportWorker_->FailedIndex()), exportWorker_->FailedFile(),
                                      SystemErrorText(exportWorker_->FailedError())});
    MessageBoxW(Handle(), text.c_str(), L"Сохранение фильма", MB_OK | MB_ICONERROR);
}

// ---- file name, format and compressor -----------------------------------------

void VextCommandBar::NormaliseFileName() {
    SetItemText(IDC_VEXT_FILE, VextPanel::NormalisedFilmName(ItemText(IDC_VEXT_FILE), SelectedFormat() == FormatAvi));
}

void VextCommandBar::FormatChanged() {
    const bool avi = SelectedFormat() == FormatAvi;
    EnableItems({IDC_VEXT_FILE, IDC_VEXT_BROWSE}, avi);
    if (avi) NormaliseFileName();
}

void VextCommandBar::Browse() {
    const std::wstring folder = Settings::Preferences().CaptureFolderOrEmpty();
    wchar_t file[256] = {};
    static const wchar_t kFilter[] = L"Файл AVI (*.avi)\0*.avi\0";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = SelectedFormat() == FormatAvi ? kFilter : nullptr;
    dialog.lpstrFile = file;
    dialog.nMaxFile = 256;
    dialog.lpstrInitialDir = folder.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameW(&dialog)) return;
    SetItemText(IDC_VEXT_FILE, file);
    NormaliseFileName();
}

void VextCommandBar::FillCodecList() {
    WaitCursor wait;
    DShow::EnumerateCompressors(graph_, compressors_);
    for (const std::wstring& line : DShow::CodecListLines(compressors_))
        SendMessageW(codecList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(codecList_, CB_SETCURSEL, 0, 0);
}

void VextCommandBar::CodecChanged() {
    const LRESULT selection = SendMessageW(codecList_, CB_GETCURSEL, 0, 0);
    compressor_.Reset();
    if (selection == CB_ERR) return;
    const LRESULT length = SendMessageW(codecList_, CB_GETLBTEXTLEN, WPARAM(selection), 0);
    std::wstring line(size_t(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(codecList_, CB_GETLBTEXT, WPARAM(selection), reinterpret_cast<LPARAM>(line.data()));
    line.resize(size_t(length > 0 ? length : 0));
    compressor_ = ComPtr<IBaseFilter>::Share(DShow::SelectCompressor(compressors_, line));
}

}  // namespace AppGui
