// What every window must do alike, on the page in headless Chromium: the shared checks, one
// test each, with the diagrams drawn at pixel ratios 1, 1.25 and 1.5 (96, 120 and 144 dpi).
#include "tests/web/pagetest.h"

#include <ostream>

namespace korvane::test {

void PrintTo(const ParityCheck &check, std::ostream *out)
{
    *out << check.name;
}

} // namespace korvane::test

namespace korvane::web {
namespace {

class ParityTest : public PageTest, public ::testing::WithParamInterface<test::ParityCheck>
{
};

TEST_P(ParityTest, Holds)
{
    test::Failures failures;
    GetParam().run(*this, failures);
    EXPECT_TRUE(failures.lines.empty()) << failures.lines;
}

INSTANTIATE_TEST_SUITE_P(Page, ParityTest, ::testing::ValuesIn(test::parityChecks()),
                         [](const auto &info) { return info.param.name; });

} // namespace
} // namespace korvane::web
