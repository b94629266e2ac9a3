// Thousands of random user actions on the real window and the planner opened from it, as
// tests/cases/monkeycases.h describes them; after each the windows must still make sense.
#include "tests/cases/monkeycases.h"
#include "tests/qt/windowtest.h"

using namespace korvane;

class MonkeyTest : public test::WindowTest
{
    Q_OBJECT

private slots:
    void survivesRandomUse()
    {
#if defined(__SANITIZE_ADDRESS__)
        constexpr qint64 PressBudgetMs = 500; // instrumented builds run several times slower
#else
        constexpr qint64 PressBudgetMs = 100;
#endif
        restart();
        const std::string problem = test::runMonkey(*this, PressBudgetMs);
        QVERIFY2(problem.empty(), problem.c_str());
    }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
