#pragma once
// Text for the statistics surface, drawn by blitting pre-rendered glyphs
// instead of calling GDI for every frame. The glyphs of one range of
// characters of the Windows default GUI font are rendered once, black on
// white, into one DirectDraw off-screen surface (the atlas) whose white is
// the source colour key, so a glyph blits as black ink only.
#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace Render {

class GlyphFont {
public:
    struct Glyph {
        int32_t leftBearing = 0;  // A
        int32_t advance = 0;      // A + B + C
        int32_t cellWidth = 0;    // B - min(C, 0) - min(A, 0)
        int32_t cellX = 0;        // the cell's left edge in the atlas
    };

    // capacity: the most characters a range may hold.
    explicit GlyphFont(uint32_t capacity);
    ~GlyphFont();
    GlyphFont(const GlyphFont&) = delete;
    GlyphFont& operator=(const GlyphFont&) = delete;

    // Renders the characters first ... last of DEFAULT_GUI_FONT into a new
    // atlas. False, with no glyphs left, when the range is empty or longer
    // than the capacity, or font, device context, ABC widths or atlas fail.
    bool Build(IDirectDraw7* directDraw, wchar_t first, wchar_t last);
    void Clear();

    bool Built() const { return atlas_ != nullptr; }
    int32_t TextHeight() const { return height_; }
    wchar_t First() const { return first_; }
    uint32_t Count() const { return uint32_t(glyphs_.size()); }
    uint32_t Capacity() const { return capacity_; }
    IDirectDrawSurface7* Atlas() const { return atlas_; }

    // The glyph index of a character: its offset from the first character,
    // or 0 (the first glyph) outside the range.
    uint32_t IndexOf(wchar_t character) const;
    const Glyph& GlyphAt(uint32_t index) const { return glyphs_.at(index); }
    // The sum of the advances of the text's characters.
    int32_t Measure(std::wstring_view text) const;

    // Blits every character's cell to (x + A, y), cell width x text height,
    // keyed by the atlas's white, then moves x on by the advance. Cells are
    // cut to the target. Returns the end x.
    int32_t Draw(IDirectDrawSurface7* target, int32_t x, int32_t y, std::wstring_view text) const;

private:
    uint32_t capacity_;
    wchar_t first_ = 0;
    int32_t height_ = 0;
    std::vector<Glyph> glyphs_;
    IDirectDrawSurface7* atlas_ = nullptr;
};

}  // namespace Render
