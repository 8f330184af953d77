// Checks of permission bits that mean the same run as root or not.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <grp.h>
#include <unistd.h>

namespace kelvara::test {

// Root ignores permission bits; then the check runs in a child process as "nobody" (what it
// prints to stderr shows when it fails).
template <typename Check> void RunUnprivileged(const Check& check) {
    if (::geteuid() != 0) {
        EXPECT_TRUE(check());
        return;
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const gid_t nobody = 65534;
            const bool dropped =
                ::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 && ::setuid(nobody) == 0;
            std::_Exit(dropped && check() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace kelvara::test
