#include "errors.h"

#include <algorithm>
#include <cstring>

#include "guard.h"
#include "handles.h"
#include "lists.h"
#include "text1251.h"

namespace ovsim {
namespace {

struct ErrorData {
    bool hasError = false;
    std::string title;  // the failing function
    int32_t code = 0;
    std::string message;  // cp1251, used when the code list lacks the code
    std::string file;
    int line = 0;
    std::string date;
    OVHANDLE object = 0;
    std::string objectFile;
    std::string remark;  // cp1251
};

HandleTable<ErrorData>& errorDatas() {
    static HandleTable<ErrorData> table;
    return table;
}

// Keeps the path from the library folder on, not the build machine's prefix.
std::string shortSourcePath(const char* path) {
    std::string text = path ? path : "";
    for (auto& c : text)
        if (c == '\\') c = '/';
    const auto at = text.rfind("ovlib3/");
    return at == std::string::npos ? text : text.substr(at);
}

std::string messageFor(int32_t code) {
    for (const auto& [known, text] : errorTexts())
        if (known == code) return toCp1251(text);
    return toCp1251("Неизвестная ошибка");
}

// Appends one placeholder's text for OvLib3ErrorSPrintf.
void appendField(std::string& out, char field, const ErrorData& data, OVHANDLE codeList) {
    switch (field) {
        case 't':
            out += data.title;
            break;
        case 'c':
            out += std::to_string(data.code);
            break;
        case 'm': {
            const char* listed = listText(codeList, static_cast<uint32_t>(data.code));
            out += listed ? listed : data.message;
            break;
        }
        case 'f':
            out += data.file;
            break;
        case 'l':
            out += std::to_string(data.line);
            break;
        case 'd':
            out += data.date;
            break;
        case 'i':
            out += std::to_string(data.object);
            break;
        case 'I':
            out += data.objectFile;
            break;
        case 'r':
            out += data.remark;
            break;
        case '%':
            out += '%';
            break;
        default:
            out += '%';
            out += field;
            break;  // unknown placeholders stay as written
    }
}

}  // namespace

const std::vector<std::pair<int32_t, const char*>>& errorTexts() {
    static const std::vector<std::pair<int32_t, const char*>> texts = {
        {kErrGeneral, "Общая ошибка"},
        {kErrBadHandle, "Недействительный дескриптор"},
        {kErrBadParameter, "Недопустимый параметр"},
        {kErrNotInitialised, "Система не инициализирована"},
        {kErrAlreadyInitialised, "Система уже инициализирована"},
        {kErrNoInterface, "Интерфейс не существует"},
        {kErrWrongKind, "Операция не подходит для этого интерфейса"},
        {kErrOutOfRange, "Значение вне допустимого диапазона"},
        {kErrUnitUnsupported, "Единица измерения не поддерживается"},
        {kErrEnumValue, "Значение перечисления не поддерживается"},
        {kErrRect, "Недопустимая область"},
        {kErrBufferTooSmall, "Буфер слишком мал"},
        {kErrSizeMismatch, "Размер данных не совпадает с заголовком"},
        {kErrConversion, "Преобразование данных не поддерживается"},
        {kErrMethod, "Способ передачи не поддерживается"},
        {kErrTimeout, "Истекло время ожидания"},
        {kErrBusy, "Устройство занято"},
        {kErrNotImplemented, "Функция не реализована в симуляторе"},
        {kErrUnknownCommand, "Неизвестная команда"},
        {kErrUnknownCamera, "Неизвестный тип камеры"},
        {kErrNoMemory, "Недостаточно памяти"},
        {kErrNoDma, "Передача DMA не запущена"},
        {kErrNoBlock, "Блок не начат"},
        {kErrPreInitOnly, "Параметр задаётся только до инициализации"},
        {kErrNotDeterministic, "Детерминированный режим симулятора выключен"},
        {kErrSimulated, "Имитированный сбой"},
        {kErrContextIdle, "Контекст DMA не использовался"},
        {kErrSimulatedLong, "Имитированный сбой с длинным пояснением"},
    };
    return texts;
}

void recordError(OVHANDLE err, const char* function, const SimError& error) {
    ErrorData* data = errorDatas().find(err);
    if (!data) return;
    data->hasError = true;
    data->title = function;
    data->code = error.code;
    data->message = messageFor(error.code);
    data->file = shortSourcePath(error.file);
    data->line = error.line;
    data->date = __DATE__;  // the simulator's build date, like a library's source stamp
    data->object = error.object;
    data->objectFile = objectFileOf(error.object);
    data->remark = toCp1251(error.remark);
}

uint32_t liveErrorDatas() { return errorDatas().size(); }

}  // namespace ovsim

using namespace ovsim;

extern "C" {

OVRESULT OVLIB3_CALL OvLib3ErrorDataCreate(OVHANDLE* err) {
    return runExport("OvLib3ErrorDataCreate", 0, [&](Lock&) {
        if (!err) OV_FAIL(kErrBadParameter, 0, "указатель на дескриптор равен нулю");
        *err = errorDatas().add(std::make_unique<ErrorData>());
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3ErrorDataFree(OVHANDLE err) {
    return runExport("OvLib3ErrorDataFree", err, [&](Lock&) {
        if (!errorDatas().remove(err)) OV_FAIL(kErrBadHandle, err, "это не данные об ошибке");
        return 0;
    });
}

OVRESULT OVLIB3_CALL OvLib3ErrorSPrintf(char* buffer, uint32_t size, const char* format, OVHANDLE err,
                                        OVHANDLE codeList) {
    // Failures of this call are not stored in err: it is the thing being printed.
    return runExport("OvLib3ErrorSPrintf", 0, [&](Lock&) {
        const ErrorData* data = errorDatas().find(err);
        if (!data) OV_FAIL(kErrBadHandle, err, "это не данные об ошибке");
        if (!buffer || size == 0 || !format) OV_FAIL(kErrBadParameter, err, "нет буфера или шаблона");
        std::string out;
        for (const char* p = format; *p; ++p) {
            if (*p != '%' || p[1] == '\0') {
                out += *p;
                continue;
            }
            appendField(out, *++p, *data, codeList);
        }
        const size_t length = std::min<size_t>(out.size(), size - 1);
        std::memcpy(buffer, out.data(), length);
        buffer[length] = '\0';
        return 0;
    });
}

}  // extern "C"
