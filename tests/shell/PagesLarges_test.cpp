#include "shell/PagesLarges.h"

#include <gtest/gtest.h>

using namespace arbrix;

TEST(PagesLarges, StartsAgainOnlyOnceAndKeepsTheUsersTunables) {
    const std::string madvise = "always [madvise] never\n";
    const struct {
        const char* actuels;
        std::string mode;
        std::optional<std::string> attendus;
    } cas[] = {
        {nullptr, madvise, "glibc.malloc.hugetlb=1"},
        {"", "[always] madvise never\n", "glibc.malloc.hugetlb=1"},
        {"glibc.malloc.arena_max=2", madvise, "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1"},
        // Set already: by the first start (no loop) or by the user (the choice stands).
        {"glibc.malloc.hugetlb=1", madvise, std::nullopt},
        {"glibc.malloc.hugetlb=0", madvise, std::nullopt},
        // No huge pages to be had, or no kernel setting to read.
        {nullptr, "always madvise [never]\n", std::nullopt},
        {nullptr, "", std::nullopt},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(std::string(c.actuels ? c.actuels : "(unset)") + " / " + c.mode);
        EXPECT_EQ(TunablesPagesLarges(c.actuels, c.mode), c.attendus);
    }
}
