#pragma once

// Reads an extended dialog template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX
// items), the layout that DIALOGEX statements compile to, field by field.

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace resource_probe {

// A template's "sz_Or_Ord" field: absent, a number, or a string.
struct NameOrOrdinal {
    bool present = false;
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::wstring name;
};

struct DialogItem {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0;
    short y = 0;
    short width = 0;
    short height = 0;
    DWORD id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    WORD version = 0;
    WORD signature = 0;
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0;
    short y = 0;
    short width = 0;
    short height = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::wstring caption;
    // Present only with DS_SETFONT (or DS_SHELLFONT).
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring typeface;
    std::vector<DialogItem> items;
};

// Throws std::runtime_error when the bytes are not an extended template or
// end before the template does.
DialogTemplate ParseDialogTemplateEx(const BYTE* data, size_t size);

} // namespace resource_probe
