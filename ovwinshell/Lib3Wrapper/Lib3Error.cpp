#include "Lib3Error.h"

#include <cstdio>

namespace DllModule::Lib3Wrapper {

const char* const ErrorTitle = "*** Error ***";

namespace {
const char* const kErrorTemplate =
    "OVLIB3 %t: %c - %m  File: %f:%l Date: %d Object Id:   %i  Object File: %I Remark:\"%r\"";
// "LIB3: Неизвестная ошибка" in code page 1251, like every library text.
const char* const kUnknownError = "LIB3: \xcd\xe5\xe8\xe7\xe2\xe5\xf1\xf2\xed\xe0\xff \xee\xf8\xe8\xe1\xea\xe0";
}  // namespace

Lib3Error::Lib3Error(OVHANDLE errorData, const char* sourcePath, int line) {
    char text[1024] = {};
    if (OvLib3ErrorSPrintf(text, sizeof text, kErrorTemplate, errorData, OvLib3ListGetStdList(1)) > 0) {
        message_ = kUnknownError;
        return;
    }
    char lineText[16];
    int needed = std::snprintf(lineText, sizeof lineText, "%d", line);
    message_ = text;
    message_ += "\nFile: ";
    message_ += sourcePath;
    message_ += "\nLine: ";
    message_ += lineText;
    if (needed >= static_cast<int>(sizeof lineText)) {
        message_ += " (WARNING: number of line truncated)";
    }
}

}  // namespace DllModule::Lib3Wrapper
