// kernel32: CreateFileA's create-or-empty with its errors, CloseHandle, full path names and
// file attributes, lstrlenA and the module handle.
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

// GetFullPathNameA is lexical, as on Windows: the current folder before a relative name,
// "." and ".." resolved by name, nothing looked up; the file part points into the buffer.
TEST_F(KernelTest, FullPathNamesAreMadeByNameAgainstTheCurrentFolder) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::create_directories(dir / "site 4");
    std::filesystem::current_path(dir / "site 4");
    const std::string folder = (dir / "site 4").string();
    char buffer[MAX_PATH];
    LPSTR name = nullptr;
    for (const char* given : {"points.csv", "./sub/../points.csv", "..//site 4/./points.csv"}) {
        DWORD length = GetFullPathNameA(given, MAX_PATH, buffer, &name);
        EXPECT_STREQ(buffer, (folder + "/points.csv").c_str()) << given;
        EXPECT_EQ(length, folder.size() + 11) << given;
        EXPECT_EQ(name, buffer + folder.size() + 1) << given;
    }
    std::filesystem::current_path(previous);

    EXPECT_EQ(GetFullPathNameA("/home/ann/../bob/missing.csv", MAX_PATH, buffer, &name), 21u);
    EXPECT_STREQ(buffer, "/home/bob/missing.csv");
    EXPECT_STREQ(name, "missing.csv");
    // A name that ends in a separator keeps it and has no file part; above the root is the root.
    EXPECT_EQ(GetFullPathNameA("/tmp/survey/", MAX_PATH, buffer, &name), 12u);
    EXPECT_STREQ(buffer, "/tmp/survey/");
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(GetFullPathNameA("/../..", MAX_PATH, buffer, nullptr), 1u);
    EXPECT_STREQ(buffer, "/");

    // Too small a buffer: the size needed, terminator included, and the buffer untouched.
    char small[8] = "unset";
    EXPECT_EQ(GetFullPathNameA("/tmp/survey.csv", sizeof small, small, &name), 16u);
    EXPECT_STREQ(small, "unset");
    EXPECT_EQ(GetFullPathNameA("/tmp/survey.csv", 0, nullptr, nullptr), 16u);
    EXPECT_EQ(GetFullPathNameA("", MAX_PATH, buffer, &name), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST_F(KernelTest, AttributesTellAFolderFromAFileAndFromNothing) {
    std::ofstream((dir / "points.csv").string()) << "1,2\n";
    EXPECT_EQ(GetFileAttributesA((dir / "points.csv").string().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(dir.string().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA((dir / "missing.csv").string().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA((dir / "gone" / "missing.csv").string().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA((dir / "points.csv" / "x").string().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}
