#pragma once
// The arithmetic of the output pane, apart from any window: how a logged
// text becomes lines, the log's scroll ranges, the histogram scroll bar and
// the data-rate texts of the statistics tab.
#include <cstdint>
#include <string>
#include <vector>

namespace AppGui {

// The line that opens the output area when it arrives in the log.
inline constexpr const char* kErrorLine = "*** Error ***";

struct LogTextLines {
    std::vector<std::string> lines;  // narrow, as logged (ANSI code page)
    bool error = false;              // one of them is exactly kErrorLine
};

// Splits a logged text at each '\n'. Every piece before a line feed is a line
// (empty ones included); the piece after the last line feed is a line unless
// it is empty. So "a\nb\n" and "a\nb" give the same two lines.
LogTextLines SplitLogText(const char* text);

// The text from the ANSI code page.
std::wstring WidenAnsi(const std::string& text);

struct ScrollRange {
    int max = 0;  // range 0 ... max
    int page = 0;
};

// Horizontal: units of the average character width.
ScrollRange LogHorizontalRange(int widestExtent, int averageCharWidth, int clientWidth);
// Vertical: units of lines.
ScrollRange LogVerticalRange(int lineCount, int lineHeight, int clientHeight);

// A scroll request applied to a position. For the codes SB_LINE*, SB_PAGE*,
// SB_THUMB*, SB_TOP and SB_BOTTOM; `track` is the position the message carries.
// The result is kept within 0 ... max - page + 1 (as Windows keeps a bar).
int ScrolledPosition(int code, int position, int track, const ScrollRange& range);

struct HistogramScrollBar {
    bool enabled = false;
    int max = 0;   // range 0 ... max (the number of bins)
    int page = 0;  // the histogram window's width
};

// The bar for 2^bits bins in a window `width` pixels wide: enabled when the
// bins do not fit.
HistogramScrollBar HistogramScrollFor(uint32_t bits, int width);

struct TransferTexts {
    std::wstring amount;  // "%d мбайт, кадров %d за %-6.2f сек."
    std::wstring rate;    // "Скорость передачи данных: %d мбайт / сек"
};

// Megabytes are 1000000 bytes; a transfer that ran under a millisecond counts
// as one millisecond.
TransferTexts FormatTransferTexts(uint32_t frames, uint64_t bytes, uint64_t microseconds);

}  // namespace AppGui
