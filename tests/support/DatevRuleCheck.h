#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DatevRules.h"
#include "TempDir.h"

namespace belvaron::test {

// Every DATEV-Format (CSV) file a test writes passes DATEV's rules for a
// batch file: fails the test with each broken rule otherwise.
inline void ExpectDatevRules(const std::string& path) {
    EXPECT_EQ(DatevRuleProblems(ReadFile(path)), std::vector<std::string>{}) << path;
}

}  // namespace belvaron::test
