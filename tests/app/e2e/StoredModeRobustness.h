#pragma once

// The stored "Mode" as anything may have left it: every registry type, data
// of 0 to 2049 bytes, text with and without a terminator, a key without the
// value. Each case starts the real program on it and checks what it shows
// and applies, that the value stays exactly as it was until the user chooses
// a mode, and what the choice stores. The cases are spread over several test
// programs (each start of the program costs seconds); each program lists its
// own with INSTANTIATE_TEST_SUITE_P on StoredModeTest.

#include "ProgramFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

// What the program is to make of the stored value: the mode One, the mode
// Normal, or a number that is neither, which applies as Normal and checks
// neither menu item.
enum class ReadsAs { One, Normal, NoMode };

struct NamedRegistryValue {
    std::string name;
    RegistryData data;
};

struct StoredModeCase {
    // The test's name: letters and digits only.
    std::string name;
    // Empty: the key exists without a "Mode" value.
    std::optional<RegistryData> mode;
    ReadsAs readsAs = ReadsAs::NoMode;
    // What the user then chooses in the menu; never the mode already held.
    MenuChoice choice = MenuChoice::One;
    // One real right click on the test window shows whether the filter is
    // on; it costs time, so only some cases make it.
    bool checkWithClick = false;
    // Another value of the key, stored first.
    std::optional<NamedRegistryValue> neighbour;
};

// Keeps 2 KB of data out of test names and failure messages.
void PrintTo(const StoredModeCase& storedCase, std::ostream* out);
std::string CaseName(const ::testing::TestParamInfo<StoredModeCase>& info);

// The lengths every type is stored with: empty, shorter than a number, the
// loader's 2048-byte buffer and one byte on either side of it.
inline constexpr size_t kCaseLengths[] = {0, 1, 4, 2047, 2048, 2049};

// Text "1" followed by letters up to the length, with no terminator: every
// length from 1 on starts with the digit 1.
RegistryData TextStartingWithOne(DWORD type, size_t length);
// The little-endian number 1 in width bytes, then letters, cut to the length
// (bigEndian: the number 1 as big-endian bytes).
RegistryData NumberOneThenLetters(DWORD type, size_t width, bool bigEndian, size_t length);
RegistryData Bytes(DWORD type, const std::string& bytes);

// One case for each of kCaseLengths: data made by makeData, read as One from
// 1 to 2048 bytes when oneFromOneByte, else never.
std::vector<StoredModeCase> CasesOfEveryLength(
    DWORD type, RegistryData (*makeData)(DWORD, size_t), bool oneFromOneByte, const std::vector<size_t>& clickLengths);

class StoredModeTest : public ProgramTest, public ::testing::WithParamInterface<StoredModeCase> {
protected:
    ::testing::AssertionResult PlantKey(const StoredModeCase& storedCase) const;
    ::testing::AssertionResult KeyUnchanged(const StoredModeCase& storedCase) const;
};

} // namespace e2e
