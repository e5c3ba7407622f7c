#pragma once

// Reads an icon group resource (RT_GROUP_ICON): the directory that tells the
// system which images one icon has and under which RT_ICON numbers.

#include <windows.h>

#include <cstddef>
#include <vector>

namespace resource_probe {

struct IconGroupEntry {
    BYTE width = 0;
    BYTE height = 0;
    BYTE colourCount = 0;
    WORD planes = 0;
    WORD bitCount = 0;
    DWORD bytesInResource = 0;
    WORD iconId = 0;
};

// Throws std::runtime_error when the bytes are not an icon directory.
std::vector<IconGroupEntry> ParseIconGroup(const BYTE* data, size_t size);

// An image of an icon (RT_ICON): a bitmap header, the palette, the colour
// bits and the AND mask, all bottom row first.
class IconImage {
public:
    // Throws std::runtime_error when the header or the bits do not fit.
    IconImage(const BYTE* data, size_t size);

    LONG Width() const { return m_header.biWidth; }
    // Colour and mask together: twice the icon's height.
    LONG StoredHeight() const { return m_header.biHeight; }
    WORD BitCount() const { return m_header.biBitCount; }
    WORD Planes() const { return m_header.biPlanes; }

    // True where the mask lets the background show through; x and y count
    // from the top-left corner.
    bool IsTransparent(LONG x, LONG y) const;

private:
    BITMAPINFOHEADER m_header{};
    std::vector<BYTE> m_mask;
    size_t m_maskStride = 0;
};

} // namespace resource_probe
