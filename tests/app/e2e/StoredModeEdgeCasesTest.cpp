// The stored mode at the edges of reading it: no value at all, digits without
// a terminator, text cut by the program's 2048-byte text buffer, numbers that
// are no mode, and values that an earlier value of the key could leak into.

#include "StoredModeRobustness.h"

namespace e2e {
namespace {

StoredModeCase Case(const char* name, std::optional<RegistryData> mode, ReadsAs readsAs, MenuChoice choice)
{
    StoredModeCase storedCase;
    storedCase.name = name;
    storedCase.mode = std::move(mode);
    storedCase.readsAs = readsAs;
    storedCase.choice = choice;
    return storedCase;
}

StoredModeCase WithClick(StoredModeCase storedCase)
{
    storedCase.checkWithClick = true;
    return storedCase;
}

StoredModeCase After(const char* neighbourName, RegistryData neighbour, StoredModeCase storedCase)
{
    storedCase.neighbour = NamedRegistryValue{neighbourName, std::move(neighbour)};
    return storedCase;
}

std::string Terminated(const std::string& text)
{
    return text + '\0';
}

// 2047 zeros and a final 1: no terminator. The program keeps text in a
// 2048-byte buffer, terminator included, so it reads the zeros alone.
std::string ZerosThenOne()
{
    return std::string(2047, '0') + "1";
}

std::vector<StoredModeCase> EdgeCases()
{
    return {
        WithClick(Case("KeyWithoutTheValue", std::nullopt, ReadsAs::NoMode, MenuChoice::Normal)),
        Case("DigitsWithoutTerminator", Bytes(REG_SZ, "0001"), ReadsAs::One, MenuChoice::Normal),
        Case("BinaryDigitsWithoutTerminator", Bytes(REG_BINARY, "0001"), ReadsAs::One, MenuChoice::Normal),
        Case("TextOf2048DigitsIsCutBeforeItsLastDigit", Bytes(REG_SZ, ZerosThenOne()), ReadsAs::NoMode,
            MenuChoice::One),
        Case("BinaryOf2048DigitsIsCutBeforeItsLastDigit", Bytes(REG_BINARY, ZerosThenOne()), ReadsAs::NoMode,
            MenuChoice::One),
        Case("TextTwoIsNormal", Bytes(REG_SZ, Terminated("2")), ReadsAs::Normal, MenuChoice::One),
        Case("DwordTwoIsNormal", Dword(2), ReadsAs::Normal, MenuChoice::One),
        Case("DwordWithAllBitsSetIsNoMode", Dword(0xFFFFFFFFu), ReadsAs::NoMode, MenuChoice::Normal),
        Case("TextWithBlankAndPlusSign", Bytes(REG_SZ, Terminated(" +1")), ReadsAs::One, MenuChoice::Normal),
        // 2^32 + 1: a number that wrapped to 32 bits would read as One.
        Case("TextBeyondTheIntRange", Bytes(REG_SZ, Terminated("4294967297")), ReadsAs::NoMode, MenuChoice::One),
        // Values load in name order through one data buffer; Wine writes
        // nothing into it for empty data, so an empty Mode after a value
        // holding One would read as One if the buffer's old bytes counted.
        WithClick(After("A", Bytes(REG_SZ, Terminated("1")),
            Case("EmptyTextAfterAValueHoldingOne", Bytes(REG_SZ, ""), ReadsAs::NoMode, MenuChoice::One))),
        WithClick(After("A", Dword(1),
            Case("EmptyDwordAfterADwordOne", Bytes(REG_DWORD, ""), ReadsAs::NoMode, MenuChoice::One))),
        // A value too long for the loader is skipped; the values after it load.
        After("A", TextStartingWithOne(REG_BINARY, 4096),
            Case("ModeAfterAValueTooLongToLoad", Bytes(REG_SZ, Terminated("1")), ReadsAs::One, MenuChoice::Normal)),
    };
}

INSTANTIATE_TEST_SUITE_P(Edge, StoredModeTest, ::testing::ValuesIn(EdgeCases()), CaseName);

} // namespace
} // namespace e2e
