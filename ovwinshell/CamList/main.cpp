// Console listing of the camera systems the library offers: each type is
// created and initialised, then its information text and every option are
// printed with kind, value, range and units.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Common/AnsiText.h"
#include "Lib3Wrapper/Exports.h"
#include "Lib3Wrapper/MessageSink.h"
#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "Lib3Wrapper/OvTypeLib/IOvOption.h"

using namespace DllModule::Lib3Wrapper;
using namespace DllModule::Lib3Wrapper::OvTypeLib;

namespace {

// Library texts are in the ANSI code page; the console gets UTF-8.
std::string Utf8(const char* ansi) {
    std::wstring wide = AnsiToWide(ansi);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(std::strlen(utf8.c_str()));
    return utf8;
}

// Errors go to the console as they happen.
class ConsoleLogger : public IOvLogger {
public:
    bool Log(char* text, bool) override {
        std::printf("%s\n", Utf8(text).c_str());
        LocalFree(text);
        return true;
    }
    void Clear() override {}
};

std::string UnitList(IOvScalarOption* scalar) {
    IOvEnum* units = nullptr;
    scalar->GetUnits(&units);
    std::string text;
    uint32_t id = 0;
    const char* name = nullptr;
    for (bool more = units->First(&id, &name, nullptr); more; more = units->Next(&id, &name, nullptr)) {
        int32_t minimum = 0, maximum = 0, value = 0;
        text += "\n        [" + std::to_string(id) + "] " + Utf8(name);
        if (scalar->GetValue(id, &value) && scalar->GetRange(id, &minimum, &maximum))
            text +=
                ": " + std::to_string(value) + " (" + std::to_string(minimum) + " .. " + std::to_string(maximum) + ")";
    }
    return text;
}

void PrintOption(IOvOption* option) {
    std::printf("  0x%06X/%u  %s (%s): ", option->GetId(), option->GetIndex(), Utf8(option->GetName(1)).c_str(),
                Utf8(option->GetName(0)).c_str());
    if (IOvScalarOption* scalar = option->AsScalar()) {
        int32_t first = 0, second = 0, value = 0, minimum = 0, maximum = 0;
        if (option->GetKind() == OptionKindInfo) {
            if (scalar->GetInfoValue(&first, &second)) std::printf("information %d, %d", first, second);
        } else {
            std::printf("scalar");
            if (scalar->GetValue(0, &value) && scalar->GetRange(0, &minimum, &maximum))
                std::printf(" %d (%d .. %d)", value, minimum, maximum);
            std::printf("%s", UnitList(scalar).c_str());
        }
    } else if (IOvEnumOption* enumOption = option->AsEnum()) {
        int32_t current = 0;
        enumOption->GetValue(&current);
        std::printf("enum, value %d", current);
        IOvEnum* values = nullptr;
        enumOption->GetValues(&values);
        uint32_t id = 0;
        const char* name = nullptr;
        for (bool more = values->First(&id, &name, nullptr); more; more = values->Next(&id, &name, nullptr))
            std::printf("\n        %s[%u] %s", static_cast<int32_t>(id) == current ? "*" : " ", id, Utf8(name).c_str());
    } else if (IOvRectOption* rect = option->AsRect()) {
        int32_t x, y, w, h, minX, minY, minW, minH, maxX, maxY, maxW, maxH;
        if (rect->GetRect(&x, &y, &w, &h) && rect->GetMinRect(&minX, &minY, &minW, &minH) &&
            rect->GetMaxRect(&maxX, &maxY, &maxW, &maxH))
            std::printf("rect %d,%d %dx%d (min %dx%d, max %dx%d)", x, y, w, h, minW, minH, maxW, maxH);
    }
    std::printf("\n");
}

void PrintOptions(IOvSystem* system) {
    IOvEnum* options = nullptr;
    system->GetOptions(&options);
    void* item = nullptr;
    for (bool more = options->First(nullptr, nullptr, &item); more; more = options->Next(nullptr, nullptr, &item))
        PrintOption(static_cast<IOvOption*>(item));
}

}  // namespace

int main() {
    SetConsoleOutputCP(CP_UTF8);
    ConsoleLogger logger;
    IOvEnum* types = nullptr;
    Lib3GetSystemTypes(&types);

    // Copy the list first: creating a system must not disturb the walk.
    struct Type {
        uint32_t id;
        std::string name;
    };
    std::vector<Type> list;
    uint32_t id = 0;
    const char* name = nullptr;
    for (bool more = types->First(&id, &name, nullptr); more; more = types->Next(&id, &name, nullptr))
        list.push_back({id, name});

    int failures = 0;
    for (const Type& type : list) {
        std::printf("=== %u: %s\n", type.id, Utf8(type.name.c_str()).c_str());
        IOvSystem* system = nullptr;
        if (!Lib3CreateSystem(type.id, &system, &logger)) {
            ++failures;
            continue;
        }
        std::printf("Options before initialisation:\n");
        PrintOptions(system);
        if (!system->Init()) {
            ++failures;
            Lib3ReleaseSystem(type.id);
            continue;
        }
        std::printf("%s\nOptions:\n", Utf8(system->GetInfo()).c_str());
        PrintOptions(system);
        Lib3ReleaseSystem(type.id);
        std::printf("\n");
    }
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}
