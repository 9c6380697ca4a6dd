#pragma once
// Runs a piece of a test in a forked child, so that a shared library loaded there starts
// fresh: the outside-library stand-ins read their environment once, at their first call, and
// keep their simulated chips for the life of the process. Assertions inside the child print
// as usual; the parent fails the test when the child did.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace TestSupport {

template <class Body>
void RunInChild(Body body) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0) << "fork failed";
    if (pid == 0) {
        body();
        std::fflush(stdout);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the child's checks failed (its messages are above)";
}

}  // namespace TestSupport
