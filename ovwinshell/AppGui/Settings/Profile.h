#pragma once
// A camera profile (".ovp"): one camera system, the values of its options and
// a few settings of the program, in INI form.
//
//   [SYSTEM]       TYPE_ID, NAME, SERIAL (the system's information text; never read)
//   [<name>_0], [<name>]   the option snapshot (OptionSnapshot.h)
//   [<name>_<index>]       one section per option (OptionSections.h)
//   [Режим работы камеры], [Цифр.усиление], [Бининг]   Value: the options pane's own settings
//   [SERIA]        Value: series of frames on (1) or off (0)
//   [PREFERENCES]  CAPTURE_FOLDER
//   [POINT]        X, Y: the frame view's scroll position (never read)
#include <cstdint>
#include <optional>
#include <string>

#include "IniFile.h"
#include "OptionSnapshot.h"

namespace AppGui::Settings {

class Profile {
public:
    explicit Profile(std::wstring path) : file_(std::move(path)) {}

    const std::wstring& Path() const { return file_.Path(); }
    const IniFile& File() const { return file_; }

    // The name a chosen save path gets: everything from its last "." replaced
    // by ".ovp", or ".ovp" appended when it has no ".".
    static std::wstring WithProfileExtension(const std::wstring& chosen);

    int TypeId() const;         // -1 when missing
    std::wstring Name() const;  // empty when missing
    // TYPE_ID, NAME and SERIAL, in that order; `info` is the system's
    // information text in the ANSI code page.
    void WriteSystem(uint32_t typeId, const std::wstring& name, const char* info) const;

    // Scalars into "<name>_0" (Value, Unit), then enums into "<name>" (Value),
    // then rectangles into "<name>" (x, y, width, height).
    void WriteSnapshots(const OptionSnapshots& snapshots) const;

    bool Series() const;  // default on
    void WriteSeries(bool on) const;

    // Replaces `folder` with the profile's capture folder, if it has one.
    void ReadCaptureFolder(std::wstring& folder) const;
    void WriteCaptureFolder(const std::wstring& folder) const;

    void WriteScrollPoint(int x, int y) const;

    // The options pane's settings of a ZEL camera.
    int WorkMode() const;  // 0 when missing
    void WriteWorkMode(int mode) const;
    int DigitalGain(int current) const;  // `current` when missing
    void WriteDigitalGain(int gain) const;
    std::optional<int> Binning() const;  // none when missing or negative
    void WriteBinning(int factor) const;

private:
    IniFile file_;
};

}  // namespace AppGui::Settings
