#pragma once

class RegistryValue;

// The button mode a stored "Mode" value stands for: REG_SZ and REG_BINARY as
// decimal text, REG_DWORD as the number, anything else (no value included) 0.
// A REG_BINARY entry is given its text form first, which leaves it in m_text.
int StoredButtonMode(RegistryValue& value);

// Decimal text as the C library reads it: leading white space, an optional
// sign, then digits up to the first other character; no digits give 0. Out of
// range numbers are clamped to int instead of overflowing.
int ParseDecimalMode(const char* text);
