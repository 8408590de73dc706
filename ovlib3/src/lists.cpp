#include "lists.h"

#include <map>
#include <string>
#include <vector>

#include "errors.h"
#include "guard.h"
#include "ids.h"
#include "text1251.h"

namespace ovsim {
namespace {

struct Entry {
    uint32_t id;
    std::string text;  // cp1251
};
using List = std::vector<Entry>;

struct Names {
    uint32_t id;
    const char* technical;  // selector 0
    const char* russian;    // selector 1
};

// Post-init interfaces (list 2), both families.
const Names kInterfaceNames[] = {
    {kOptChannel, "Channel", "Канал"},
    {kOptExposure, "Exposure", "Экспозиция"},
    {kOptFrameRate, "FrameRate", "Частота кадров"},
    {kOptSyncMode, "SyncMode", "Режим синхронизации"},
    {kOptRecordMode, "RecordMode", "Режим записи"},
    {kOptRegion, "RegionOfInterest", "Область изображения"},
    {kOptFramePosition, "FramePosition", "Положение кадра"},
    {kOptDataFormat, "DataFormat", "Формат данных"},
    {kOptPartitions, "MemoryPartitions", "Разделов памяти"},
    {kOptGain, "Gain", "Усиление"},
    {kOptDigitalGainLimit, "DigitalGainLimit", "Предел усиления"},
    {kOptCentringFactor, "CentringFactor", "Центрирование, множитель"},
    {kOptPreTrigger, "PreTrigger", "Предзапись, %"},
    {kOptSyncOutput, "SyncOutput", "Выход синхронизации"},
    {kOptFrameIndex, "FrameIndex", "Номер кадра в записи"},
    {kInfoSensorTemperature, "SensorTemperature", "Температура датчика"},
    {kInfoTotalFrames, "Total frames count", "Всего кадров"},
};

// Unit texts are shown to the user (and written to profiles) from either
// selector, so both carry the Russian abbreviation.
const Names kUnitNames[] = {
    {kUnitMicroseconds, "мкс", "мкс"},
    {kUnitMilliseconds, "мс", "мс"},
    {kUnitTimes, "раз", "раз"},
    {kUnitPercent, "%", "%"},
    {kUnitFramesPerSecond, "кадр/с", "кадр/с"},
};

const std::pair<uint32_t, const char*> kEnumValueNames[] = {
    {kSyncOutputStrobe, "Строб экспозиции"},
    {kSyncOutputOff, "Выключен"},
    {kSyncSoftware, "Программный запуск"},
    {kSyncExternal, "Внешний запуск"},
    {kSyncInternal, "Внутренний запуск (непрерывно)"},
    {kGainLimit1, "Сдвиг до 1 разряда"},
    {kGainLimit2, "Сдвиг до 2 разрядов"},
    {kGainLimit4, "Сдвиг до 4 разрядов"},
    {kFormatMono8High, "8 бит в старшем байте"},
    {kFormatMono10Packed, "10 бит, упакованный"},
    {kFormatMono12Packed, "12 бит, упакованный"},
    {kFormatMono16, "16 бит"},
    {kFormatMosaic10, "Мозаика GRBG, 10 бит"},
    {kFormatRgb10, "RGB, 10 бит на канал"},
    {kFormatBgr48, "BGR, 16 бит на канал"},
    {kSyncRecordOnEdge, "Запись по фронту запуска"},
    {kRecordSingle, "Однократная запись"},
    {kRecordRing, "Кольцевая запись"},
    {kBusPciExpress, "PCI Express"},
    {kBusSimulated, "Имитация в памяти"},
    {kBusOptical, "Оптический канал"},
    {kSensorMono, "Монохромный"},
    {kSensorColour, "Цветной (мозаика GRBG)"},
};

const std::pair<uint32_t, const char*> kAttributeNames[] = {
    {kAttrFrameNumber, "Номер кадра"},
    {kAttrTimeStamp, "Время, мкс"},
    {kAttrSensorTemperature, "Температура датчика, °C"},
};

const std::pair<uint32_t, const char*> kCameraNames[] = {
    {kCameraZelMono, "Симулятор ZEL, монохромная камера"},
    {kCameraZelColour, "Симулятор ZEL, цветная камера"},
    {kCameraVext, "Симулятор VEXT, скоростная камера"},
    {kCameraZelMonoNoSoftStart, "Симулятор ZEL, монохромная камера без программного запуска"},
};

// Pre-init options: selector 0 is the ZEL family, selector 1 VEXT.
const std::pair<uint32_t, const char*> kZelPreInitNames[] = {
    {kOptBoardNumber, "Номер платы захвата"},
    {kOptBusInterface, "Интерфейс подключения"},
    {kOptChannel, "Номер канала"},
};
// The viewer shows selector 1 texts as display names for both families, so
// the entries both have name nothing that only one family has.
const std::pair<uint32_t, const char*> kVextPreInitNames[] = {
    {kOptBoardNumber, "Номер устройства"},
    {kOptBusInterface, "Линия связи"},
    {kOptChannel, "Номер канала"},
    {kOptSensor, "Сенсор"},
};

template <class Range>
List pairsList(const Range& pairs) {
    List list;
    for (const auto& [id, text] : pairs) list.push_back({static_cast<uint32_t>(id), toCp1251(text)});
    return list;
}

List namesList(const Names* begin, const Names* end, uint32_t selector) {
    List list;
    for (auto* n = begin; n != end; ++n) list.push_back({n->id, toCp1251(selector ? n->russian : n->technical)});
    return list;
}

// List handles are small fixed numbers, below every object handle.
constexpr OVHANDLE kListHandleBase = 0x1000;
OVHANDLE listHandle(uint32_t number, uint32_t selector) { return kListHandleBase + number * 2 + selector; }

const std::map<OVHANDLE, List>& allLists() {
    static const std::map<OVHANDLE, List> lists = [] {
        std::map<OVHANDLE, List> made;
        List errors;
        for (const auto& [code, text] : errorTexts()) errors.push_back({static_cast<uint32_t>(code), toCp1251(text)});
        for (uint32_t selector = 0; selector < 2; ++selector) {
            made[listHandle(1, selector)] = errors;
            made[listHandle(2, selector)] = namesList(std::begin(kInterfaceNames), std::end(kInterfaceNames), selector);
            made[listHandle(3, selector)] = namesList(std::begin(kUnitNames), std::end(kUnitNames), selector);
            made[listHandle(4, selector)] = pairsList(kEnumValueNames);
            made[listHandle(7, selector)] = pairsList(kAttributeNames);
            made[listHandle(10, selector)] = pairsList(kCameraNames);
        }
        made[listHandle(11, 0)] = pairsList(kZelPreInitNames);
        made[listHandle(11, 1)] = pairsList(kVextPreInitNames);
        return made;
    }();
    return lists;
}

const List* findList(OVHANDLE handle) {
    auto it = allLists().find(handle);
    return it == allLists().end() ? nullptr : &it->second;
}

OVHANDLE lookUpList(uint32_t number, uint32_t selector) {
    if (selector > 1) return 0;
    const OVHANDLE handle = listHandle(number, selector);
    return findList(handle) ? handle : 0;
}

}  // namespace

const char* listText(OVHANDLE handle, uint32_t id) {
    if (const List* list = findList(handle))
        for (const auto& entry : *list)
            if (entry.id == id) return entry.text.c_str();
    return nullptr;
}

}  // namespace ovsim

using namespace ovsim;

extern "C" {

OVHANDLE OVLIB3_CALL OvLib3ListGetStdList(uint32_t number) {
    return runListExport<OVHANDLE>("OvLib3ListGetStdList", 0, [&] { return lookUpList(number, 0); });
}

OVHANDLE OVLIB3_CALL OvLib3ListGetStdListML(uint32_t number, uint32_t selector, uint32_t /*variant*/) {
    // The variant (language edition) is accepted as is: the simulator has one, Russian.
    return runListExport<OVHANDLE>("OvLib3ListGetStdListML", 0, [&] { return lookUpList(number, selector); });
}

int32_t OVLIB3_CALL OvLib3ListGetAll(const char** text, uint32_t* id, uint32_t index, OVHANDLE handle) {
    return runListExport<int32_t>("OvLib3ListGetAll", 0, [&]() -> int32_t {
        const List* list = findList(handle);
        if (!list || index >= list->size()) return 0;
        if (text) *text = (*list)[index].text.c_str();
        if (id) *id = (*list)[index].id;
        return 1;
    });
}

const char* OVLIB3_CALL OvLib3ListGetString(uint32_t id, OVHANDLE handle) {
    return runListExport<const char*>("OvLib3ListGetString", nullptr, [&] { return listText(handle, id); });
}

}  // extern "C"
