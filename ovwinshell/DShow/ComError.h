#pragma once
// COM failures of the viewer's graph code: every HRESULT is checked, a
// negative one becomes a CComError naming the reporting source unit and
// line; the catcher shows its text in a message box unless it runs quietly.
#include <windows.h>

#include <string>

class CComError {
public:
    // "Ошибка COM. Код ошибки:..." with the unit, the line and the system's
    // description of the result.
    CComError(HRESULT result, const char* sourceUnit, int line);

    HRESULT Result() const { return result_; }
    const std::wstring& Text() const { return text_; }
    // Message box without owner, empty caption, error icon.
    void Show() const;

private:
    HRESULT result_;
    std::wstring text_;
};

namespace DShow {

inline void CheckCom(HRESULT result, const char* sourceUnit, int line) {
    if (FAILED(result)) throw CComError(result, sourceUnit, line);
}

// The catch rule of a graph operation: a CComError is shown unless quiet and
// becomes false.
template <typename Body>
bool RunComChecked(bool quiet, Body&& body) {
    try {
        return body();
    } catch (const CComError& error) {
        if (!quiet) error.Show();
        return false;
    }
}

}  // namespace DShow

// The unit COM failures of the graph code are reported from.
namespace DShow {
inline constexpr char kComErrorUnit[] = ".\\DshowGraph";
}

#define OV_CHECK_COM(expression) ::DShow::CheckCom((expression), ::DShow::kComErrorUnit, __LINE__)
