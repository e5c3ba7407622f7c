#include "GuardedBuffer.h"
#include "RegistryKeyFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

// A "Mode" value of every registry type and of lengths around every limit,
// stored without a terminator, read through every getter into guarded
// buffers, between a value that fills the load buffer before it and one that
// must still load after it.

namespace {

constexpr char kGroup[] = "ABCDEFG";
constexpr size_t kGroupSize = sizeof kGroup; // the seven letters and a zero byte

struct NamedType {
    DWORD type;
    const char* name;
};

const NamedType kTypes[] = {
    {REG_NONE, "REG_NONE"},
    {REG_SZ, "REG_SZ"},
    {REG_EXPAND_SZ, "REG_EXPAND_SZ"},
    {REG_BINARY, "REG_BINARY"},
    {REG_DWORD, "REG_DWORD"},
    {REG_DWORD_BIG_ENDIAN, "REG_DWORD_BIG_ENDIAN"},
    {REG_LINK, "REG_LINK"},
    {REG_MULTI_SZ, "REG_MULTI_SZ"},
    {REG_RESOURCE_LIST, "REG_RESOURCE_LIST"},
    {REG_QWORD, "REG_QWORD"},
};

void PrintTo(const NamedType& type, std::ostream* out)
{
    *out << type.name;
}

using Params = std::tuple<NamedType, DWORD, DWORD>;

class RegistryRobustness : public RegistryKeyTest, public ::testing::WithParamInterface<Params> {
protected:
    DWORD Type() const { return std::get<0>(GetParam()).type; }
    DWORD Length() const { return std::get<1>(GetParam()); }
    DWORD Flags() const { return std::get<2>(GetParam()); }

    // Letters without a zero byte; for REG_MULTI_SZ, groups of seven letters
    // each closed by a zero byte, the block cut wherever the length ends.
    std::vector<BYTE> Data() const
    {
        std::vector<BYTE> data(Length());
        for (size_t i = 0; i < data.size(); ++i) {
            if (Type() == REG_MULTI_SZ)
                data[i] = static_cast<BYTE>(kGroup[i % kGroupSize]);
            else
                data[i] = static_cast<BYTE>('A' + i % 26);
        }
        return data;
    }

    bool Cached() const
    {
        const bool cachedType = Type() == REG_SZ || Type() == REG_BINARY || Type() == REG_DWORD || Type() == REG_MULTI_SZ;
        return cachedType && Length() <= 2048 && !(Type() == REG_BINARY && Length() == 0);
    }

    // Whole groups before the block's end; a zero last byte closes the list.
    size_t MultiStringCount() const
    {
        const std::vector<BYTE> data = Data();
        if (data.size() <= 2)
            return 0;
        const size_t end = data[data.size() - 1] == 0 ? data.size() - 1 : data.size();
        return end / kGroupSize;
    }

    std::string Text(const std::vector<BYTE>& data, size_t length) const
    {
        return std::string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min(length, data.size())));
    }
};

TEST_P(RegistryRobustness, ModeLikeValue)
{
    const std::vector<BYTE> before(2048, 0xEE);
    WriteRaw("A_Before", REG_BINARY, before.data(), 2048);
    const std::vector<BYTE> data = Data();
    WriteRaw("Mode", Type(), data.data(), Length());
    WriteText("Z_After", "after");

    RegistryKey key(Flags());
    ASSERT_TRUE(OpenScratch(key));
    RegistryValue* mode = key.Value("Mode");
    EXPECT_EQ(mode->m_exists, Cached());
    EXPECT_EQ(mode->m_type, Cached() ? Type() : 0u);
    EXPECT_TRUE(key.Value("A_Before")->m_exists);
    EXPECT_STREQ(key.Value("Z_After")->GetText(), "after");

    // The main window's reading of the mode.
    if (mode->m_type == REG_BINARY) {
        ASSERT_NE(mode->TextBuffer(), nullptr);
    }
    const char* text = mode->GetText();
    ASSERT_EQ(text, mode->m_text);
    ASSERT_LT(strnlen(text, 2048), 2048u) << "text not terminated inside its buffer";

    std::string expectedText;
    if (Cached()) {
        switch (Type()) {
        case REG_SZ:
        case REG_BINARY:
            expectedText = Text(data, 2047);
            break;
        case REG_DWORD: {
            DWORD number = 0;
            std::memcpy(&number, data.data(), std::min<size_t>(data.size(), sizeof number));
            EXPECT_EQ(mode->m_dword, number);
            expectedText = std::to_string(number);
            break;
        }
        case REG_MULTI_SZ:
            expectedText = MultiStringCount() > 0 ? kGroup : "";
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(std::string(text), expectedText);

    GuardedBuffer bytes(Length());
    if (Cached() && Type() == REG_BINARY) {
        EXPECT_EQ(mode->GetBinary(bytes.Bytes(), Length()), Length());
        EXPECT_EQ(std::memcmp(bytes.Bytes(), data.data(), Length()), 0);
        GuardedBuffer fewer(Length() - 1);
        EXPECT_EQ(mode->GetBinary(fewer.Bytes(), Length() - 1), Length() - 1);
    } else {
        EXPECT_THROW(mode->GetBinary(bytes.Bytes(), Length()), std::out_of_range);
    }

    if (Cached() && Type() == REG_MULTI_SZ) {
        std::string block;
        for (size_t i = 0; i < MultiStringCount(); ++i)
            block.append(kGroup, kGroupSize);
        block.push_back('\0');
        GuardedBuffer exact(block.size());
        mode->GetMultiString(exact.Text(), static_cast<DWORD>(block.size()));
        EXPECT_EQ(std::string(exact.Text(), block.size()), block);
    }
    for (DWORD size : {DWORD{1}, DWORD{100}}) {
        GuardedBuffer small(size);
        mode->GetMultiString(small.Text(), size);
        EXPECT_LT(strnlen(small.Text(), size), static_cast<size_t>(size));
    }

    if (Flags() & REGKEY_ON_DEMAND) {
        EXPECT_EQ(key.m_hKey, nullptr);
    }
    // Reading writes nothing.
    const RawValue stored = ReadRaw("Mode");
    EXPECT_EQ(stored.type, Type());
    EXPECT_EQ(stored.data, data);
}

std::string ParamName(const ::testing::TestParamInfo<Params>& info)
{
    return std::string(std::get<0>(info.param).name) + "_" + std::to_string(std::get<1>(info.param))
        + (std::get<2>(info.param) == 0 ? "_Cached" : "_Refreshed");
}

INSTANTIATE_TEST_SUITE_P(EveryTypeAndLength, RegistryRobustness,
    ::testing::Combine(::testing::ValuesIn(kTypes),
        ::testing::Values(DWORD{0}, DWORD{1}, DWORD{4}, DWORD{2047}, DWORD{2048}, DWORD{2049}),
        ::testing::Values(DWORD{0}, DWORD{REGKEY_REFRESH | REGKEY_ON_DEMAND})),
    ParamName);

} // namespace
