#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace korvane::fuzz {

// The input being run, as each target describes it; printed with every violated property.
inline std::string g_input;

// Reports a violated property and aborts, so that libFuzzer keeps the input as a finding.
[[noreturn]] inline void failProperty(const char *target, const char *property,
                                      const std::string &detail)
{
    std::fprintf(stderr, "%s property violated: %s [%s] input %s\n", target, property,
                 detail.c_str(), g_input.c_str());
    std::abort();
}

} // namespace korvane::fuzz

// Checks a property of the code under fuzzing; FUZZ_TARGET_NAME names the target in reports.
#define EXPECT_PROPERTY(condition, detail)                                                         \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::korvane::fuzz::failProperty(FUZZ_TARGET_NAME, #condition, detail);                   \
    } while (false)
