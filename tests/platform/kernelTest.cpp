// kernel32: CreateFileA's create-or-empty with its errors, CloseHandle, lstrlenA and the
// module handle.
#include <gtest/gtest.h>
#include <windows.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class KernelTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("skerrow-kernel-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir);
    }
    static HANDLE createEmpty(const std::string& path) {
        return CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    }
    static std::string contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path dir;
};

}  // namespace

TEST_F(KernelTest, CreatesANewFileEmpty) {
    std::string path = (dir / "out.csv").string();
    HANDLE file = createEmpty(path);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_FALSE(CloseHandle(file));  // the handle is gone
}

TEST_F(KernelTest, EmptiesAnExistingFile) {
    std::string path = (dir / "old.csv").string();
    std::ofstream(path) << "1,2,3\r\n";
    HANDLE file = createEmpty(path);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 183u);  // ERROR_ALREADY_EXISTS: CREATE_ALWAYS replaced it
    CloseHandle(file);
    EXPECT_EQ(contents(path), "");
}

TEST_F(KernelTest, FailsWithTheWin32ErrorOfTheCause) {
    struct Case {
        std::string path;
        DWORD error;
    };
    for (const Case& c : {Case{(dir / "missing" / "out.csv").string(), 3u},  // ERROR_PATH_NOT_FOUND
                          Case{dir.string(), 5u},                            // a folder: ERROR_ACCESS_DENIED
                          Case{"", 3u}}) {
        EXPECT_EQ(createEmpty(c.path), INVALID_HANDLE_VALUE) << c.path;
        EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
}

TEST_F(KernelTest, FailsInAReadOnlyFolder) {
    std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                                          std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
    // Root writes anywhere; act as an ordinary user for the attempt.
    bool asRoot = geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(seteuid(65534), 0);
    }
    HANDLE file = createEmpty((dir / "out.csv").string());
    DWORD error = GetLastError();
    if (asRoot) {
        ASSERT_EQ(seteuid(0), 0);
    }
    EXPECT_EQ(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(error, 5u);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.csv"));
}

TEST(KernelStringTest, LstrlenCountsBytesAndTakesNull) {
    EXPECT_EQ(lstrlenA(nullptr), 0);
    EXPECT_EQ(lstrlenA(""), 0);
    EXPECT_EQ(lstrlenA("Total # Points: "), 16);
}

TEST(KernelModuleTest, ModuleHandleIsFixedAndNotNull) {
    HMODULE module = GetModuleHandleA(NULL);
    EXPECT_NE(module, nullptr);
    EXPECT_EQ(GetModuleHandleA(NULL), module);
}
