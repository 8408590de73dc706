#include "text1251.h"

#include <cstdint>

namespace ovsim {
namespace {

// Decodes one UTF-8 sequence starting at text[pos]; advances pos.
uint32_t nextCodePoint(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    int extra = 0;
    uint32_t cp = lead;
    if (lead >= 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else if (lead >= 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if (lead >= 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    }
    for (; extra > 0 && pos < text.size(); --extra) cp = (cp << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    return cp;
}

char cp1251Of(uint32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
    switch (cp) {
        case 0x0401:
            return '\xA8';  // Ё
        case 0x0451:
            return '\xB8';  // ё
        case 0x00B0:
            return '\xB0';  // °
        case 0x00B5:
            return '\xB5';  // µ
        case 0x00AB:
            return '\xAB';  // «
        case 0x00BB:
            return '\xBB';  // »
        case 0x2013:
            return '\x96';  // –
        case 0x2014:
            return '\x97';  // —
        case 0x2116:
            return '\xB9';  // №
        case 0x00A0:
            return '\xA0';  // no-break space
        default:
            return '?';
    }
}

}  // namespace

std::string toCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) out.push_back(cp1251Of(nextCodePoint(utf8, pos)));
    return out;
}

}  // namespace ovsim
