// Finding the shared test data (ROMs, Z80 test programs, tapes, disks, snapshots).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vespin::test {

// Absolute path of a file below the test-data folder.
std::filesystem::path TestDataPath(const std::string& relative);

// Whole file contents; empty when it cannot be read.
std::vector<uint8_t> ReadTestFile(const std::filesystem::path& path);

// True on CI (CI=true), where a missing data file is a failure rather than a skip.
bool RunningOnCi();

} // namespace vespin::test

// Skips the test when a data file is missing, or fails it on CI.
#define VESPIN_REQUIRE_TESTDATA(path)                                                              \
    do {                                                                                           \
        if (!std::filesystem::exists(path)) {                                                      \
            if (::vespin::test::RunningOnCi())                                                     \
                FAIL() << "missing test data file " << (path);                                     \
            else                                                                                   \
                GTEST_SKIP() << "missing test data file " << (path);                               \
        }                                                                                          \
    } while (0)
