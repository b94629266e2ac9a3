#pragma once

// Presses of "查看拼版图" and the document each leaves for the commands: what the job line
// says, the file name a save proposes, the sheet in its own units and how many lines it has
// (the sheet's edge included). Read by the toolkit-free tests and both windows' tests.

#include "tests/cases/panelcases.h"

#include <string>
#include <vector>

namespace korvane::test {

struct DocumentCase
{
    std::string name;
    std::vector<Entry> inputs; // on the imposition panel
    std::u16string jobLine;
    std::u16string fileName;
    double width; // the sheet's length, across
    double height;
    int lines;
};
const std::vector<DocumentCase> &documentCases();

// The inputs of a press that refuses, after which the commands still give the last plan.
std::vector<Entry> refusedInputs();

// The plan with the most lines a press accepts: one row of two billion products.
std::vector<Entry> largestPlan();

} // namespace korvane::test
