#include "GlyphFont.h"

#include <algorithm>

namespace Render {

namespace {

// The metrics of a character range, read through a memory device context.
struct RangeMetrics {
    int32_t height = 0;
    std::vector<ABC> widths;
};

bool ReadMetrics(HFONT font, wchar_t first, wchar_t last, RangeMetrics* metrics) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW text{};
    metrics->widths.assign(size_t(last - first) + 1, ABC{});
    const bool ok = old && GetTextMetricsW(dc, &text) && GetCharABCWidthsW(dc, first, last, metrics->widths.data());
    metrics->height = text.tmHeight;
    if (old) SelectObject(dc, old);
    DeleteDC(dc);
    return ok && metrics->height > 0;
}

// Paints the atlas white and every glyph in black. A glyph is drawn with its
// pen at the cell's left edge minus its left bearing, so its ink starts at
// the cell's left edge, and a cell blitted to (x + A, y) puts the ink where
// GDI would draw the character with its pen at x.
bool PaintAtlas(IDirectDrawSurface7* atlas, HFONT font, wchar_t first, const std::vector<GlyphFont::Glyph>& glyphs,
                int32_t width, int32_t height) {
    HDC dc = nullptr;
    if (FAILED(atlas->GetDC(&dc)) || !dc) return false;
    const HGDIOBJ old = SelectObject(dc, font);
    bool ok = old && PatBlt(dc, 0, 0, width, height, WHITENESS);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    for (size_t i = 0; ok && i < glyphs.size(); ++i) {
        const wchar_t character = wchar_t(first + i);
        ok = TextOutW(dc, glyphs[i].cellX - glyphs[i].leftBearing, 0, &character, 1);
    }
    if (old) SelectObject(dc, old);
    atlas->ReleaseDC(dc);
    return ok;
}

}  // namespace

GlyphFont::GlyphFont(uint32_t capacity) : capacity_(capacity) {}

GlyphFont::~GlyphFont() { Clear(); }

void GlyphFont::Clear() {
    if (atlas_) atlas_->Release();
    atlas_ = nullptr;
    glyphs_.clear();
    height_ = 0;
    first_ = 0;
}

bool GlyphFont::Build(IDirectDraw7* directDraw, wchar_t first, wchar_t last) {
    Clear();
    if (!directDraw || last < first || uint32_t(last - first) + 1 > capacity_) return false;

    LOGFONTW description{};
    const HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    if (!stock || GetObjectW(stock, sizeof description, &description) != int(sizeof description)) return false;
    const HFONT font = CreateFontIndirectW(&description);
    if (!font) return false;

    RangeMetrics metrics;
    std::vector<Glyph> glyphs;
    int32_t atlasWidth = 0;
    bool ok = ReadMetrics(font, first, last, &metrics);
    if (ok) {
        for (const ABC& abc : metrics.widths) {
            Glyph glyph;
            glyph.leftBearing = abc.abcA;
            glyph.advance = abc.abcA + int32_t(abc.abcB) + abc.abcC;
            glyph.cellWidth = int32_t(abc.abcB) - std::min(abc.abcC, 0) - std::min(abc.abcA, 0);
            glyph.cellX = atlasWidth;
            atlasWidth += glyph.cellWidth;
            glyphs.push_back(glyph);
        }
    }

    IDirectDrawSurface7* atlas = nullptr;
    if (ok) {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        desc.dwWidth = DWORD(std::max(atlasWidth, 1));
        desc.dwHeight = DWORD(metrics.height);
        ok = SUCCEEDED(directDraw->CreateSurface(&desc, &atlas, nullptr)) && atlas;
    }
    ok = ok && PaintAtlas(atlas, font, first, glyphs, std::max(atlasWidth, 1), metrics.height);
    if (ok) {
        DDCOLORKEY white{0xFFFFFF, 0xFFFFFF};
        ok = SUCCEEDED(atlas->SetColorKey(DDCKEY_SRCBLT, &white));
    }
    DeleteObject(font);
    if (!ok) {
        if (atlas) atlas->Release();
        return false;
    }
    atlas_ = atlas;
    glyphs_ = std::move(glyphs);
    height_ = metrics.height;
    first_ = first;
    return true;
}

uint32_t GlyphFont::IndexOf(wchar_t character) const {
    if (character < first_ || uint32_t(character - first_) >= glyphs_.size()) return 0;
    return uint32_t(character - first_);
}

int32_t GlyphFont::Measure(std::wstring_view text) const {
    if (glyphs_.empty()) return 0;
    int32_t width = 0;
    for (wchar_t character : text) width += glyphs_[IndexOf(character)].advance;
    return width;
}

int32_t GlyphFont::Draw(IDirectDrawSurface7* target, int32_t x, int32_t y, std::wstring_view text) const {
    if (!atlas_ || !target || glyphs_.empty()) return x;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    if (FAILED(target->GetSurfaceDesc(&desc))) return x;
    const int64_t targetWidth = desc.dwWidth, targetHeight = desc.dwHeight;
    for (wchar_t character : text) {
        const Glyph& glyph = glyphs_[IndexOf(character)];
        // The cell's place on the target, cut to the target; the source follows the cut.
        const int64_t left = int64_t(x) + glyph.leftBearing, top = y;
        const int64_t clipLeft = std::max<int64_t>(left, 0), clipTop = std::max<int64_t>(top, 0);
        const int64_t clipRight = std::min<int64_t>(left + glyph.cellWidth, targetWidth);
        const int64_t clipBottom = std::min<int64_t>(top + height_, targetHeight);
        if (clipLeft < clipRight && clipTop < clipBottom) {
            RECT to{LONG(clipLeft), LONG(clipTop), LONG(clipRight), LONG(clipBottom)};
            RECT from{LONG(glyph.cellX + (clipLeft - left)), LONG(clipTop - top),
                      LONG(glyph.cellX + (clipRight - left)), LONG(clipBottom - top)};
            target->Blt(&to, atlas_, &from, DDBLT_KEYSRC, nullptr);  // a failed glyph is left out
        }
        x += glyph.advance;
    }
    return x;
}

}  // namespace Render
