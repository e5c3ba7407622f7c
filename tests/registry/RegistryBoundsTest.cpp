#include "GuardedBuffer.h"
#include "RegistryKeyFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

// Every copy of outside data stays inside its buffer and ends with a zero
// byte, at and just past each limit. Callers' buffers sit right before a
// page that faults on access, so one byte read or written too far ends the
// test program at once.

namespace {

TEST(GuardedBuffer, TheByteAfterTheBufferIsOnANoAccessPage)
{
    for (size_t size : {size_t{0}, size_t{1}, size_t{4096}, size_t{5000}}) {
        GuardedBuffer buffer(size);
        MEMORY_BASIC_INFORMATION after;
        ASSERT_NE(VirtualQuery(buffer.Bytes() + size, &after, sizeof after), 0u);
        EXPECT_EQ(after.Protect, static_cast<DWORD>(PAGE_NOACCESS)) << size;
        if (size > 0) {
            MEMORY_BASIC_INFORMATION last;
            ASSERT_NE(VirtualQuery(buffer.Bytes() + size - 1, &last, sizeof last), 0u);
            EXPECT_EQ(last.Protect, static_cast<DWORD>(PAGE_READWRITE)) << size;
        }
    }
}

// A text of the given length in a guarded buffer, its terminator the last byte.
GuardedBuffer GuardedText(size_t length, char fill)
{
    GuardedBuffer text(length + 1);
    std::memset(text.Text(), fill, length);
    text.Text()[length] = '\0';
    return text;
}

class RegistryBounds : public OpenRegistryKeyTest {};

TEST_F(RegistryBounds, LongTextIsCachedCutAndWrittenWhole)
{
    for (size_t length : {size_t{2046}, size_t{2047}, size_t{2048}, size_t{2049}, size_t{5000}}) {
        SCOPED_TRACE(length);
        GuardedBuffer text = GuardedText(length, 's');
        RegistryValue* value = m_key.Value("Long");
        value->SetString(text.Text());
        ASSERT_NE(value->m_text, nullptr);
        EXPECT_EQ(value->m_text[2047], '\0');
        EXPECT_EQ(std::string(value->m_text), std::string(std::min<size_t>(length, 2047), 's'));
        const RawValue raw = ReadRaw("Long");
        EXPECT_EQ(raw.data.size(), length + 1);
        EXPECT_EQ(raw.Text(), std::string(text.Text(), length + 1));
    }
}

TEST_F(RegistryBounds, LongValueNamesAreKeptCutAndFindTheirEntry)
{
    const std::string kept(2047, 'n');
    GuardedBuffer exact = GuardedText(2047, 'n');
    GuardedBuffer oneOver = GuardedText(2048, 'n');
    GuardedBuffer twoOver = GuardedText(2049, 'n');

    RegistryValue* value = m_key.Value(exact.Text());
    EXPECT_EQ(m_key.Value(oneOver.Text()), value);
    EXPECT_EQ(m_key.Value(twoOver.Text()), value);
    m_key.Value(oneOver.Text())->SetString("long name");
    EXPECT_EQ(ReadRaw(kept.c_str()).Text(), std::string("long name", 10));
    EXPECT_FALSE(Exists(oneOver.Text()));

    GuardedBuffer other = GuardedText(2046, 'n');
    EXPECT_NE(m_key.Value(other.Text()), value);
}

TEST_F(RegistryBounds, BinaryTextStaysInsideTheTextBuffer)
{
    for (DWORD count : {DWORD{2046}, DWORD{2047}, DWORD{2048}, DWORD{2049}, DWORD{6000}}) {
        SCOPED_TRACE(count);
        GuardedBuffer bytes(count);
        bytes.Fill('b');
        RegistryKey closed(0);
        RegistryValue* value = closed.Value("Bytes");
        value->SetBinary(bytes.Bytes(), count);
        char* text = value->GetText();
        EXPECT_EQ(text[2047], '\0');
        EXPECT_EQ(std::string(text), std::string(std::min<size_t>(count, 2047), 'b'));
    }
}

TEST_F(RegistryBounds, LoadedBinaryOfAFullBufferReadsAsCutText)
{
    std::vector<BYTE> full(2048, 'f');
    WriteRaw("Full", REG_BINARY, full.data(), 2048);
    ASSERT_TRUE(m_key.LoadValues());
    char* text = m_key.Value("Full")->GetText();
    EXPECT_EQ(text[2047], '\0');
    EXPECT_EQ(std::strlen(text), 2047u);
}

TEST_F(RegistryBounds, MultiStringParseStopsAtTheBlocksEnd)
{
    struct Case {
        std::string block;
        std::string expected;
    };
    const Case cases[] = {
        {std::string("abc", 3), std::string("\0", 1)},
        {std::string("a\0bc", 4), std::string("a\0\0", 3)},
        {std::string("a\0b\0c", 5), std::string("a\0b\0\0", 5)},
        {std::string(2049, 'z'), std::string("\0", 1)},
        {std::string(2047, 'z') + std::string(1, '\0') + "tail", std::string(2047, 'z') + std::string("\0\0", 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block.size());
        GuardedBuffer block(c.block.size());
        std::memcpy(block.Bytes(), c.block.data(), c.block.size());
        RegistryKey closed(0);
        RegistryValue* value = closed.Value("List");
        value->SetMultiString(block.Text(), static_cast<DWORD>(block.Size()), false);
        value->SetMultiString(block.Text(), static_cast<DWORD>(block.Size()), true);
        std::vector<char> out(4096, '\x7F');
        value->GetMultiString(out.data(), static_cast<DWORD>(out.size()));
        EXPECT_EQ(std::string(out.data(), c.expected.size()), c.expected);
        EXPECT_EQ(out[c.expected.size()], '\x7F');
    }
}

// RegSetValueExA itself looks at the byte after string data that lacks a
// final zero byte (Windows does the same).
TEST_F(RegistryBounds, AnUnterminatedBlockIsWrittenWithoutReadingPastIt)
{
    GuardedBuffer block(5);
    std::memcpy(block.Bytes(), "a\0b\0c", 5);
    m_key.Value("List")->SetMultiString(block.Text(), 5, false);
    m_key.Value("Written")->SetMultiString(block.Text(), 5, true);
    for (const char* name : {"List", "Written"}) {
        const RawValue raw = ReadRaw(name);
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_MULTI_SZ)) << name;
        EXPECT_EQ(raw.Text(), std::string("a\0b\0c", 5)) << name;
    }
}

TEST_F(RegistryBounds, AnUnterminatedBlockIsWrittenAsGivenWhateverFollowsIt)
{
    // The zero byte after the block is not the caller's: it is not stored.
    const char memory[] = {'a', 0, 'b', 0};
    m_key.Value("List")->SetMultiString(memory, 3, false);
    EXPECT_EQ(ReadRaw("List").Text(), std::string("a\0b", 3));
}

// The strings a, bc, def make the block a 0 b c 0 d e f 0 0 (11 bytes).
struct CutCase {
    DWORD size;
    std::string written;
};

TEST_F(RegistryBounds, MultiStringIntoASmallBufferIsCutAndTerminatedInside)
{
    const std::string stored("a\0bc\0def\0\0", 10);
    RegistryKey closed(0);
    RegistryValue* value = closed.Value("List");
    value->SetMultiString(stored.data(), static_cast<DWORD>(stored.size()), false);

    const CutCase cases[] = {
        {12, std::string("a\0bc\0def\0\0", 10)},
        {11, std::string("a\0bc\0def\0\0", 10)},
        {10, std::string("a\0bc\0def\0\0", 10)},
        {9, std::string("a\0bc\0def\0", 9)},
        {8, std::string("a\0bc\0de\0", 8)},
        {6, std::string("a\0bc\0\0", 6)},
        {5, std::string("a\0bc\0", 5)},
        {4, std::string("a\0b\0", 4)},
        {2, std::string("a\0", 2)},
        {1, std::string("\0", 1)},
        {0, std::string()},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.size);
        GuardedBuffer out(c.size);
        value->GetMultiString(out.Text(), c.size);
        EXPECT_EQ(std::string(out.Text(), c.written.size()), c.written);
        if (c.size > 0) {
            EXPECT_LT(strnlen(out.Text(), c.size), static_cast<size_t>(c.size)) << "not terminated inside";
        }
    }
}

TEST_F(RegistryBounds, EmptyResultsIntoAZeroSizedBufferWriteNothing)
{
    RegistryValue* text = m_key.Value("Text");
    text->SetString("abc");
    GuardedBuffer none(0);
    EXPECT_EQ(text->GetMultiString(none.Text(), 0), none.Text());
    const BYTE bytes[] = {1, 2};
    text->SetBinary(bytes, 2);
    EXPECT_EQ(text->GetBinary(none.Bytes(), 0), 0u);
}

TEST_F(RegistryBounds, GetBinaryFillsGuardedBuffersExactly)
{
    std::vector<BYTE> stored(2048);
    for (size_t i = 0; i < stored.size(); ++i)
        stored[i] = static_cast<BYTE>(i * 7 + 1);
    WriteRaw("Bytes", REG_BINARY, stored.data(), 2048);
    ASSERT_TRUE(m_key.LoadValues());
    RegistryValue* value = m_key.Value("Bytes");
    for (DWORD size : {DWORD{1}, DWORD{2047}, DWORD{2048}, DWORD{2049}}) {
        SCOPED_TRACE(size);
        GuardedBuffer out(size);
        const DWORD copied = value->GetBinary(out.Bytes(), size);
        EXPECT_EQ(copied, std::min<DWORD>(size, 2048));
        EXPECT_EQ(std::memcmp(out.Bytes(), stored.data(), copied), 0);
    }
}

} // namespace
