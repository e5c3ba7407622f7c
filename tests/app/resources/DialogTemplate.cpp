#include "DialogTemplate.h"

#include "ResourceReader.h"

#include <stdexcept>

namespace resource_probe {

namespace {

NameOrOrdinal ReadNameOrOrdinal(ResourceReader& reader)
{
    NameOrOrdinal field;
    const WORD first = reader.Read<WORD>();
    if (first == 0x0000)
        return field;
    field.present = true;
    if (first == 0xFFFF) {
        field.isOrdinal = true;
        field.ordinal = reader.Read<WORD>();
        return field;
    }
    field.name.push_back(static_cast<WCHAR>(first));
    field.name += reader.ReadString();
    return field;
}

DialogItem ReadItem(ResourceReader& reader)
{
    // Items start on 32-bit boundaries.
    reader.AlignToDword();
    DialogItem item;
    item.helpId = reader.Read<DWORD>();
    item.exStyle = reader.Read<DWORD>();
    item.style = reader.Read<DWORD>();
    item.x = reader.Read<short>();
    item.y = reader.Read<short>();
    item.width = reader.Read<short>();
    item.height = reader.Read<short>();
    item.id = reader.Read<DWORD>();
    item.windowClass = ReadNameOrOrdinal(reader);
    item.text = ReadNameOrOrdinal(reader);
    item.creationData = reader.ReadBytes(reader.Read<WORD>());
    return item;
}

} // namespace

DialogTemplate ParseDialogTemplateEx(const BYTE* data, size_t size)
{
    if (data == nullptr)
        throw std::runtime_error("no dialog template");
    ResourceReader reader(data, size);
    DialogTemplate dialog;
    dialog.version = reader.Read<WORD>();
    dialog.signature = reader.Read<WORD>();
    if (dialog.version != 1 || dialog.signature != 0xFFFF)
        throw std::runtime_error("not an extended dialog template");
    dialog.helpId = reader.Read<DWORD>();
    dialog.exStyle = reader.Read<DWORD>();
    dialog.style = reader.Read<DWORD>();
    const WORD itemCount = reader.Read<WORD>();
    dialog.x = reader.Read<short>();
    dialog.y = reader.Read<short>();
    dialog.width = reader.Read<short>();
    dialog.height = reader.Read<short>();
    dialog.menu = ReadNameOrOrdinal(reader);
    dialog.windowClass = ReadNameOrOrdinal(reader);
    dialog.caption = reader.ReadString();
    if ((dialog.style & (DS_SETFONT | DS_SHELLFONT)) != 0) {
        dialog.pointSize = reader.Read<WORD>();
        dialog.weight = reader.Read<WORD>();
        dialog.italic = reader.Read<BYTE>();
        dialog.charset = reader.Read<BYTE>();
        dialog.typeface = reader.ReadString();
    }
    for (WORD i = 0; i < itemCount; ++i)
        dialog.items.push_back(ReadItem(reader));
    return dialog;
}

} // namespace resource_probe
