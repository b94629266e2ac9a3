// Thousands of random user actions on the real Windows window and the planner opened from it,
// as tests/cases/monkeycases.h describes them; after each the windows must still make sense.
#include "tests/cases/monkeycases.h"
#include "tests/win32/winewindowtest.h"

namespace korvane::win32 {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr std::int64_t PressBudgetMs = 2000;
#else
constexpr std::int64_t PressBudgetMs = 500; // Wine's own overhead included
#endif

TEST_F(WindowTest, SurvivesRandomUse)
{
    EXPECT_EQ(test::runMonkey(*this, PressBudgetMs), "");
}

} // namespace
} // namespace korvane::win32
