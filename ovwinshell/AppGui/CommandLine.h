#pragma once
// The profile path on the program's command line.
#include <string>

namespace AppGui {

// Quotes become blanks; the last dot followed by "OVP" (the first three
// characters after it, any case) ends the search, and the path is the text up
// to there and beyond (one leading blank skipped). A dot with another
// extension is cut off and the search goes on. Empty when nothing matches.
std::wstring ProfilePathFromCommandLine(const std::wstring& commandLine);

}  // namespace AppGui
