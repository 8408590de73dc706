#include "OutputPaneLogic.h"

#include "Common/AnsiText.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace AppGui {

LogTextLines SplitLogText(const char* text) {
    LogTextLines result;
    if (!text) return result;
    const char* start = text;
    for (const char* p = text; *p; ++p) {
        if (*p != '\n') continue;
        result.lines.emplace_back(start, p);
        if (result.lines.back() == kErrorLine) result.error = true;
        start = p + 1;
    }
    if (*start) result.lines.emplace_back(start);
    return result;
}

std::wstring WidenAnsi(const std::string& text) { return AnsiToWide(text.c_str()); }

ScrollRange LogHorizontalRange(int widestExtent, int averageCharWidth, int clientWidth) {
    const int unit = std::max(averageCharWidth, 1);
    return {averageCharWidth + widestExtent / unit, std::max(clientWidth, 0) / unit};
}

ScrollRange LogVerticalRange(int lineCount, int lineHeight, int clientHeight) {
    const int unit = std::max(lineHeight, 1);
    return {lineCount, std::max(clientHeight, 0) / unit};
}

int ScrolledPosition(int code, int position, int track, const ScrollRange& range) {
    int next = position;
    switch (code) {
        case SB_LINEUP:
            next = position - 1;
            break;
        case SB_LINEDOWN:
            next = position + 1;
            break;
        case SB_PAGEUP:
            next = position - range.page;
            break;
        case SB_PAGEDOWN:
            next = position + range.page;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            next = track;
            break;
        case SB_TOP:
            next = 0;
            break;
        case SB_BOTTOM:
            next = range.max;
            break;
        default:
            break;
    }
    const int last = std::max(range.max - std::max(range.page, 1) + 1, 0);
    return std::clamp(next, 0, last);
}

HistogramScrollBar HistogramScrollFor(uint32_t bits, int width) {
    HistogramScrollBar bar;
    if (bits > 30) return bar;
    const int bins = 1 << bits;
    if (bins > width) {
        bar.enabled = true;
        bar.max = bins;
        bar.page = std::max(width, 0);
    }
    return bar;
}

TransferTexts FormatTransferTexts(uint32_t frames, uint64_t bytes, uint64_t microseconds) {
    const uint64_t megabytes = bytes / 1000000;
    const uint64_t milliseconds = microseconds / 1000;
    wchar_t buffer[256];
    TransferTexts texts;
    std::swprintf(buffer, 256, L"%d мбайт, кадров %d за %-6.2f сек.", int(megabytes), int(frames),
                  double(milliseconds) * 0.001);
    texts.amount = buffer;
    const uint64_t rate = megabytes * 1000 / std::max<uint64_t>(milliseconds, 1);
    std::swprintf(buffer, 256, L"Скорость передачи данных: %d мбайт / сек", int(rate));
    texts.rate = buffer;
    return texts;
}

}  // namespace AppGui
