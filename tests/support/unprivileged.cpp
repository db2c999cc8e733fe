// Runs a test body as the user nobody when the suite runs as root.
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#endif

namespace testing_support {

#ifdef _WIN32

void asUnprivilegedUser(const std::function<void()> &) { GTEST_SKIP() << "file permissions do not bite here"; }

#else

void asUnprivilegedUser(const std::function<void()> &body) {
    if (geteuid() != 0) {
        body();
        return;
    }
    const passwd *nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    // Output still buffered would be written twice, once by each process
    // (std::cout, synced with stdio, holds none of its own).
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0 || geteuid() == 0) {
            std::fprintf(stderr, "cannot drop to an unprivileged user\n");
            std::_Exit(2);
        }
        // A temporary folder of root's own would be closed to this user.
        if (access(std::filesystem::temp_directory_path().c_str(), W_OK | X_OK) != 0)
            setenv("TMPDIR", "/tmp", 1);
        body();
        std::fflush(nullptr);
        std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) == -1 && errno == EINTR) {
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the run as an unprivileged user failed (its messages are above); wait status " << status;
}

#endif

} // namespace testing_support
