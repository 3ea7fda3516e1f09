#include <gtest/gtest.h>

#include "plugin/VersionGate.h"

namespace {

TEST(VersionGate, ComparesTheTripleLexicographicallyWithTheLastComponentInclusive) {
    struct Case {
        int major, minor, third;
        bool passes;
    };
    const Case cases[] = {
        {2, 9, 9, true},   {2, 9, 8, false},   {2, 10, 0, true},   {3, 0, 0, true},
        {20, 0, 0, true},  {1, 99, 99, false}, {2, 8, 100, false}, {2, 9, 100, true},
        {-1, 0, 0, false}, {2, -9, 9, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isVersionAtLeast(c.major, c.minor, c.third, 2, 9, 9), c.passes)
            << c.major << "." << c.minor << "." << c.third;
    }
}

}  // namespace
