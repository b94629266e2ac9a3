// Thousands of random user actions on the page's windows, as tests/cases/monkeycases.h
// describes them, with real keys and clicks; after each the windows must still make sense.
#include "tests/cases/monkeycases.h"
#include "tests/web/pagetest.h"

namespace korvane::web {
namespace {

// A press from its click to its answer, the probe's round trip and the browser's included.
constexpr std::int64_t PressBudgetMs = 500;

TEST_F(PageTest, SurvivesRandomUse)
{
    EXPECT_EQ(test::runMonkey(*this, PressBudgetMs), "");
}

} // namespace
} // namespace korvane::web
