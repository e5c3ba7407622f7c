#include "IconGroup.h"

#include "ResourceReader.h"

#include <stdexcept>

namespace resource_probe {

namespace {

// Rows of a bitmap are padded to whole 32-bit words.
size_t RowStride(LONG width, WORD bitCount)
{
    return (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
}

} // namespace

std::vector<IconGroupEntry> ParseIconGroup(const BYTE* data, size_t size)
{
    if (data == nullptr)
        throw std::runtime_error("no icon group");
    ResourceReader reader(data, size);
    // GRPICONDIR: reserved, type (1 = icon), count; then packed 14-byte entries.
    const WORD reserved = reader.Read<WORD>();
    const WORD type = reader.Read<WORD>();
    if (reserved != 0 || type != 1)
        throw std::runtime_error("not an icon directory");
    const WORD count = reader.Read<WORD>();
    std::vector<IconGroupEntry> entries;
    for (WORD i = 0; i < count; ++i) {
        IconGroupEntry entry;
        entry.width = reader.Read<BYTE>();
        entry.height = reader.Read<BYTE>();
        entry.colourCount = reader.Read<BYTE>();
        reader.Skip(1);
        entry.planes = reader.Read<WORD>();
        entry.bitCount = reader.Read<WORD>();
        entry.bytesInResource = reader.Read<DWORD>();
        entry.iconId = reader.Read<WORD>();
        entries.push_back(entry);
    }
    return entries;
}

IconImage::IconImage(const BYTE* data, size_t size)
{
    if (data == nullptr)
        throw std::runtime_error("no icon image");
    ResourceReader reader(data, size);
    m_header = reader.Read<BITMAPINFOHEADER>();
    if (m_header.biSize != sizeof(BITMAPINFOHEADER) || m_header.biWidth <= 0 || m_header.biHeight <= 0
        || m_header.biBitCount == 0 || m_header.biBitCount > 32)
        throw std::runtime_error("not an icon image header");
    const size_t height = static_cast<size_t>(m_header.biHeight / 2);
    const size_t paletteEntries = m_header.biBitCount > 8 ? 0
        : m_header.biClrUsed != 0                         ? m_header.biClrUsed
                                                          : size_t{1} << m_header.biBitCount;
    reader.Skip(paletteEntries * sizeof(RGBQUAD));
    reader.Skip(RowStride(m_header.biWidth, m_header.biBitCount) * height);
    m_maskStride = RowStride(m_header.biWidth, 1);
    m_mask = reader.ReadBytes(m_maskStride * height);
}

bool IconImage::IsTransparent(LONG x, LONG y) const
{
    // The mask's rows are stored bottom row first.
    const size_t row = static_cast<size_t>(m_header.biHeight / 2 - 1 - y);
    const BYTE bits = m_mask.at(row * m_maskStride + static_cast<size_t>(x) / 8);
    return ((bits >> (7 - x % 8)) & 1) != 0;
}

} // namespace resource_probe
