// What both windows must do alike, in the real Windows window: the shared checks, one test
// each, with the diagrams laid out again at 96, 120 and 144 dpi, under a C library locale
// whose decimal mark is a comma, which number text must not follow.
#include "tests/win32/winewindowtest.h"

#include <clocale>

namespace korvane::win32 {
namespace {

class ParityTest : public WindowTest, public ::testing::WithParamInterface<test::ParityCheck>
{
};

TEST_P(ParityTest, Holds)
{
    ASSERT_TRUE(std::setlocale(LC_ALL, "German"));
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    test::Failures failures;
    GetParam().run(*this, failures);
    std::setlocale(LC_ALL, "C");
    EXPECT_TRUE(failures.lines.empty()) << failures.lines;
}

INSTANTIATE_TEST_SUITE_P(BothWindows, ParityTest, ::testing::ValuesIn(test::parityChecks()),
                         [](const auto &info) { return info.param.name; });

} // namespace
} // namespace korvane::win32
