// The stored mode as text types: REG_SZ is read as decimal text; expandable
// and multi-string text and REG_NONE are no mode, whatever they hold. All
// text here is "1" followed by letters and has no terminator.

#include "StoredModeRobustness.h"

namespace e2e {
namespace {

INSTANTIATE_TEST_SUITE_P(Text, StoredModeTest,
    ::testing::ValuesIn(CasesOfEveryLength(REG_SZ, TextStartingWithOne, true, {1, 2049})), CaseName);

INSTANTIATE_TEST_SUITE_P(ExpandableText, StoredModeTest,
    ::testing::ValuesIn(CasesOfEveryLength(REG_EXPAND_SZ, TextStartingWithOne, false, {1})), CaseName);

INSTANTIATE_TEST_SUITE_P(MultiText, StoredModeTest,
    ::testing::ValuesIn(CasesOfEveryLength(REG_MULTI_SZ, TextStartingWithOne, false, {})), CaseName);

INSTANTIATE_TEST_SUITE_P(NoType, StoredModeTest,
    ::testing::ValuesIn(CasesOfEveryLength(REG_NONE, TextStartingWithOne, false, {})), CaseName);

} // namespace
} // namespace e2e
