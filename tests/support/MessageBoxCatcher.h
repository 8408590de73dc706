#pragma once
// Catches the message boxes (and other dialogs) this thread opens: records
// caption and text and closes them at once, as a user pressing the default
// button would.
#include <string>
#include <vector>

struct CaughtBox {
    std::wstring caption;
    std::wstring text;
};

class MessageBoxCatcher {
public:
    MessageBoxCatcher();   // installs a thread hook
    ~MessageBoxCatcher();  // removes it

    static std::vector<CaughtBox> Boxes();
    static void Forget();
};
