// Runs the end-to-end tests for one build: --build=native, or --build=windows (the exe under Wine).
// A build that cannot run here exits with 77, which CTest shows as skipped; in CI (CI=true) a build
// that cannot run is a failure instead.
#include <gtest/gtest.h>

#include <sched.h>
#include <stdio.h>
#include <string.h>
#include <sys/mount.h>
#include <unistd.h>

#include "e2e/harness.h"

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    BuildKind kind = BuildKind::Native;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--build=windows") == 0) {
            kind = BuildKind::Windows;
        }
    }
    std::string missing = MissingForBuild(kind);
    if (!missing.empty()) {
        bool ci = EnvironmentValue("CI") == "true";
        printf("%s: the Windows tests cannot run: %s\n", ci ? "FAILED" : "SKIPPED", missing.c_str());
        return ci ? 1 : 77;
    }
    // A mount namespace of the run's own (as root), before any Wine server starts, so that tests can
    // stage read-only and full file systems that the program and its wineserver both see.
    SetPrivateMounts(geteuid() == 0 && unshare(CLONE_NEWNS) == 0 &&
                     mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0);
    ChooseBuild(kind);
    SetCurrentPrefix(std::make_unique<Prefix>(kind));
    int result = RUN_ALL_TESTS();
    SetCurrentPrefix(nullptr);
    return result;
}
