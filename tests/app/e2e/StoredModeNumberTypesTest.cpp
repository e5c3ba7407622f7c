// The stored mode as binary and number types: REG_BINARY is read as decimal
// text (here "1" followed by letters), REG_DWORD as its first four bytes (here
// the number 1 followed by letters); a big-endian DWORD and a QWORD are no
// mode, even when they hold the number 1.

#include "StoredModeRobustness.h"

namespace e2e {
namespace {

RegistryData LittleEndianDwordOne(DWORD type, size_t length)
{
    return NumberOneThenLetters(type, sizeof(DWORD), false, length);
}

RegistryData BigEndianDwordOne(DWORD type, size_t length)
{
    return NumberOneThenLetters(type, sizeof(DWORD), true, length);
}

RegistryData QwordOne(DWORD type, size_t length)
{
    return NumberOneThenLetters(type, sizeof(ULONGLONG), false, length);
}

INSTANTIATE_TEST_SUITE_P(Binary, StoredModeTest,
    ::testing::ValuesIn(CasesOfEveryLength(REG_BINARY, TextStartingWithOne, true, {2048})), CaseName);

INSTANTIATE_TEST_SUITE_P(Dword, StoredModeTest,
    ::testing::ValuesIn(CasesOfEveryLength(REG_DWORD, LittleEndianDwordOne, true, {1})), CaseName);

INSTANTIATE_TEST_SUITE_P(BigEndianDword, StoredModeTest,
    ::testing::ValuesIn(CasesOfEveryLength(REG_DWORD_BIG_ENDIAN, BigEndianDwordOne, false, {})), CaseName);

INSTANTIATE_TEST_SUITE_P(Qword, StoredModeTest,
    ::testing::ValuesIn(CasesOfEveryLength(REG_QWORD, QwordOne, false, {4})), CaseName);

} // namespace
} // namespace e2e
