#pragma once
// The installed video compressors that can really be used: each is
// test-built into a complete chain before it is offered in the "Кодек" list.
#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

#include "Common/Owned.h"

namespace DShow {

class CaptureGraph;

struct CompressorEntry {
    CompressorEntry(IBaseFilter* compressor, std::wstring friendlyName)
        : filter(ComPtr<IBaseFilter>::Share(compressor)), name(std::move(friendlyName)) {}
    // A copy holds a reference of its own.
    CompressorEntry(const CompressorEntry& other) : CompressorEntry(other.filter.Get(), other.name) {}
    CompressorEntry& operator=(const CompressorEntry& other) {
        filter = ComPtr<IBaseFilter>::Share(other.filter.Get());
        name = other.name;
        return *this;
    }
    CompressorEntry(CompressorEntry&&) = default;
    CompressorEntry& operator=(CompressorEntry&&) = default;

    ComPtr<IBaseFilter> filter;
    std::wstring name;
};

// The first line of the list: no compressor.
inline constexpr wchar_t kNoCompression[] = L"Без сжатия";

// Fills entries with the compressors whose test chain builds, in the
// enumeration's order. A failure is shown and leaves entries empty (false).
bool EnumerateCompressors(CaptureGraph& graph, std::vector<CompressorEntry>& entries);
// The "Кодек" list's lines: kNoCompression, then each entry's name.
std::vector<std::wstring> CodecListLines(const std::vector<CompressorEntry>& entries);
// The first entry named line; none for kNoCompression or an unknown line.
IBaseFilter* SelectCompressor(const std::vector<CompressorEntry>& entries, const std::wstring& line);

}  // namespace DShow
