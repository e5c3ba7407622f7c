#include "StoredModeRobustness.h"

#include "NotificationArea.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <algorithm>
#include <cstdio>

namespace e2e {

namespace {

constexpr DWORD kStoreTimeoutMs = 5000;

const char* TypeName(DWORD type)
{
    switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_DWORD_BIG_ENDIAN: return "REG_DWORD_BIG_ENDIAN";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_QWORD: return "REG_QWORD";
    default: return "type ?";
    }
}

std::string Describe(const std::optional<RegistryData>& data)
{
    if (!data)
        return "(no value)";
    std::string text = std::string(TypeName(data->type)) + ", " + std::to_string(data->bytes.size()) + " bytes:";
    const size_t shown = std::min<size_t>(data->bytes.size(), 16);
    for (size_t i = 0; i < shown; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", data->bytes[i]);
        text += hex;
    }
    if (shown < data->bytes.size())
        text += " ...";
    return text;
}

::testing::AssertionResult SameData(const std::optional<RegistryData>& expected, const std::optional<RegistryData>& actual)
{
    const bool same = expected.has_value() == actual.has_value() &&
        (!expected || (expected->type == actual->type && expected->bytes == actual->bytes));
    if (same)
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "expected " << Describe(expected) << "\n  but the registry holds " << Describe(actual);
    if (expected && actual && expected->bytes.size() == actual->bytes.size()) {
        const auto difference = std::mismatch(expected->bytes.begin(), expected->bytes.end(), actual->bytes.begin());
        if (difference.first != expected->bytes.end())
            failure << "\n  first difference at byte " << (difference.first - expected->bytes.begin());
    }
    return failure;
}

// What choosing a mode stores: its digit as REG_SZ text with the terminator.
RegistryData StoredChoice(MenuChoice choice)
{
    return Bytes(REG_SZ, std::string(choice == MenuChoice::One ? "1" : "2") + '\0');
}

const char* ReadsAsName(ReadsAs readsAs)
{
    switch (readsAs) {
    case ReadsAs::One: return "One";
    case ReadsAs::Normal: return "Normal";
    case ReadsAs::NoMode: return "no mode";
    }
    return "?";
}

} // namespace

void PrintTo(const StoredModeCase& storedCase, std::ostream* out)
{
    *out << storedCase.name << " (" << Describe(storedCase.mode) << ")";
}

std::string CaseName(const ::testing::TestParamInfo<StoredModeCase>& info)
{
    return info.param.name;
}

RegistryData TextStartingWithOne(DWORD type, size_t length)
{
    std::string text = "1";
    while (text.size() < length)
        text += static_cast<char>('a' + text.size() % 26);
    text.resize(length);
    return Bytes(type, text);
}

RegistryData NumberOneThenLetters(DWORD type, size_t width, bool bigEndian, size_t length)
{
    std::string bytes(width, '\0');
    bytes[bigEndian ? width - 1 : 0] = '\x01';
    while (bytes.size() < length)
        bytes += static_cast<char>('a' + bytes.size() % 26);
    bytes.resize(length);
    return Bytes(type, bytes);
}

RegistryData Bytes(DWORD type, const std::string& bytes)
{
    return RegistryData{type, std::vector<BYTE>(bytes.begin(), bytes.end())};
}

std::vector<StoredModeCase> CasesOfEveryLength(
    DWORD type, RegistryData (*makeData)(DWORD, size_t), bool oneFromOneByte, const std::vector<size_t>& clickLengths)
{
    std::vector<StoredModeCase> cases;
    for (size_t length : kCaseLengths) {
        StoredModeCase storedCase;
        storedCase.name = "Length" + std::to_string(length);
        storedCase.mode = makeData(type, length);
        // Empty data is no number, and the loader skips data that does not
        // fit its 2048-byte buffer.
        const bool one = oneFromOneByte && length >= 1 && length <= 2048;
        storedCase.readsAs = one ? ReadsAs::One : ReadsAs::NoMode;
        storedCase.choice = one ? MenuChoice::Normal : MenuChoice::One;
        storedCase.checkWithClick =
            std::find(clickLengths.begin(), clickLengths.end(), length) != clickLengths.end();
        cases.push_back(storedCase);
    }
    return cases;
}

::testing::AssertionResult StoredModeTest::PlantKey(const StoredModeCase& storedCase) const
{
    if (storedCase.neighbour && !StoreProgramValue(storedCase.neighbour->name, storedCase.neighbour->data))
        return ::testing::AssertionFailure() << "could not store " << storedCase.neighbour->name;
    // A key without the value: made by storing the value and taking it away.
    if (!StoreModeData(storedCase.mode.value_or(Bytes(REG_SZ, std::string("1") + '\0'))))
        return ::testing::AssertionFailure() << "could not store Mode";
    if (!storedCase.mode && !DeleteStoredMode())
        return ::testing::AssertionFailure() << "could not delete Mode";
    // The registry must hold exactly the case's bytes, or the case tests
    // something else.
    return KeyUnchanged(storedCase);
}

::testing::AssertionResult StoredModeTest::KeyUnchanged(const StoredModeCase& storedCase) const
{
    if (!ProgramKeyExists())
        return ::testing::AssertionFailure() << "the key is gone";
    const ::testing::AssertionResult mode = SameData(storedCase.mode, ReadStoredMode());
    if (!mode)
        return ::testing::AssertionFailure() << "Mode: " << mode.message();
    if (!storedCase.neighbour)
        return ::testing::AssertionSuccess();
    const ::testing::AssertionResult neighbour =
        SameData(storedCase.neighbour->data, ReadProgramValue(storedCase.neighbour->name));
    if (!neighbour)
        return ::testing::AssertionFailure() << storedCase.neighbour->name << ": " << neighbour.message();
    return ::testing::AssertionSuccess();
}

TEST_P(StoredModeTest, IsAppliedAndShownAsItReadsAndKeptUntilAModeIsChosen)
{
    const StoredModeCase& storedCase = GetParam();
    ASSERT_TRUE(PlantKey(storedCase));
    SCOPED_TRACE(std::string("the stored value reads as ") + ReadsAsName(storedCase.readsAs));

    // With the key there, the stored mode is applied, whatever it reads as,
    // and that re-adds the icon with the mode identifier.
    ASSERT_TRUE(Start(kModeIconId));
    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
    EXPECT_TRUE(KeyUnchanged(storedCase)) << "after the start";
    if (storedCase.checkWithClick) {
        EXPECT_EQ(RealRightClickOnTestWindow(),
            storedCase.readsAs == ReadsAs::One ? kLeftClickArrived : kRightClickArrived)
            << "the filter must be on exactly when the value reads as One";
    }

    ASSERT_TRUE(OpenMenu(kLeftButton));
    const MenuReading menu = ReadMenu();
    EXPECT_TRUE(KeyUnchanged(storedCase)) << "with the menu open";
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_TRUE(ChecksModes(menu, storedCase.readsAs == ReadsAs::One, storedCase.readsAs == ReadsAs::Normal));

    ASSERT_TRUE(ChooseInOpenMenu(storedCase.choice));
    const RegistryData chosen = StoredChoice(storedCase.choice);
    std::optional<RegistryData> stored;
    testing_support::PumpMessagesUntil(
        [&] { return static_cast<bool>(SameData(chosen, stored = ReadStoredMode())); }, kStoreTimeoutMs);
    EXPECT_TRUE(SameData(chosen, stored)) << "what choosing a mode stores";
    if (storedCase.neighbour) {
        EXPECT_TRUE(SameData(storedCase.neighbour->data, ReadProgramValue(storedCase.neighbour->name)))
            << "the key's other value";
    }
    EXPECT_TRUE(m_program.IsRunning()) << m_program.Output();
    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
}

} // namespace e2e
