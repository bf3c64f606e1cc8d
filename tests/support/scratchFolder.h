// A fresh folder for one test's files, named after the test and, unless perProcess is
// false, the process, so that the same test run from two builds at once cannot collide.
// Death tests pass false: their child process aborts before it could remove a folder of
// its own, so it must share the parent's, which the parent removes.
#ifndef SKERROW_TESTS_SCRATCHFOLDER_H
#define SKERROW_TESTS_SCRATCHFOLDER_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

inline std::filesystem::path makeScratchFolder(const std::string& prefix, bool perProcess = true) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / (prefix + name + (perProcess ? "-" + std::to_string(getpid()) : ""));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

#endif
