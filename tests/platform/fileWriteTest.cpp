// Files written safely: a new name taken in one step (CREATE_NEW), every byte written or a
// Win32 error saying why (WriteFile), flushed to the disk, and put in place of the old file
// in one rename (MoveFileExA); deleting a file.
#include <gtest/gtest.h>
#include <windows.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/scratchFolder.h"

namespace {

namespace fs = std::filesystem;

class FileWriteTest : public ::testing::Test {
protected:
    void SetUp() override { dir = makeScratchFolder("skerrow-filewrite-", false).string(); }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return dir + "/" + name; }
    static HANDLE create(const std::string& name, DWORD disposition) {
        return CreateFileA(name.c_str(), GENERIC_WRITE, 0, NULL, disposition, FILE_ATTRIBUTE_NORMAL, NULL);
    }
    static HANDLE openToRead(const std::string& name) {
        return CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           NULL);
    }
    static std::string contents(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void put(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

    std::string dir;
};

// Lowers the limit on the size of a file this process writes, for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        set_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
    bool set() const { return set_; }

private:
    rlimit saved_;
    bool set_ = false;
};

std::atomic<int> g_interruptions{0};
void countInterruption(int) { ++g_interruptions; }

}  // namespace

TEST_F(FileWriteTest, CreateNewTakesOnlyANameNotInUse) {
    std::string name = path("out.csv.tmp");
    HANDLE file = create(name, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    DWORD written = 99;
    EXPECT_TRUE(WriteFile(file, "1,2,3\r\n", 7, &written, NULL));
    EXPECT_EQ(written, 7u);
    EXPECT_TRUE(CloseHandle(file));

    // The name is taken now: a second CREATE_NEW fails and leaves the file as it is.
    EXPECT_EQ(create(name, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 80u);  // ERROR_FILE_EXISTS
    EXPECT_EQ(contents(name), "1,2,3\r\n");
    EXPECT_EQ(create(path("missing/out.csv"), CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 3u);  // ERROR_PATH_NOT_FOUND
}

TEST_F(FileWriteTest, WriteFileWritesEveryByteInOrder) {
    std::string name = path("big.csv");
    HANDLE file = create(name, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string block;
    for (int i = 0; block.size() < 300000; ++i) block += std::to_string(i) + ",1.5,2.25\r\n";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, NULL));
    EXPECT_EQ(written, block.size());
    EXPECT_TRUE(WriteFile(file, "tail", 0, &written, NULL));  // nothing to write: nothing written
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(WriteFile(file, "end", 3, NULL, NULL));
    EXPECT_TRUE(FlushFileBuffers(file));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(contents(name), block + "end");
}

TEST_F(FileWriteTest, AHandleThatCannotWriteIsRefused) {
    std::string name = path("in.csv");
    put(name, "1,2\n");
    HANDLE reader = openToRead(name);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(reader, "x", 1, &written, NULL));
    EXPECT_EQ(GetLastError(), 5u);  // ERROR_ACCESS_DENIED
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(FlushFileBuffers(reader));
    EXPECT_EQ(GetLastError(), 5u);
    EXPECT_TRUE(CloseHandle(reader));
    EXPECT_EQ(contents(name), "1,2\n");

    // A closed handle is no handle.
    EXPECT_FALSE(WriteFile(reader, "x", 1, &written, NULL));
    EXPECT_EQ(GetLastError(), 6u);  // ERROR_INVALID_HANDLE
    EXPECT_FALSE(FlushFileBuffers(reader));
    EXPECT_EQ(GetLastError(), 6u);

    EXPECT_EQ(openToRead(path("none.csv")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 2u);  // ERROR_FILE_NOT_FOUND
    EXPECT_EQ(openToRead(dir), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 5u);  // a folder
}

TEST_F(FileWriteTest, AWritePastTheFileSizeLimitFailsWithTheBytesThatWent) {
    // The process lives on: the layer ignores SIGXFSZ, so the write fails with EFBIG.
    struct sigaction action;
    ASSERT_EQ(sigaction(SIGXFSZ, nullptr, &action), 0);
    EXPECT_EQ(action.sa_handler, SIG_IGN);

    std::string name = path("limited.csv");
    HANDLE file = create(name, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<char> bytes(4096, 'x');
    DWORD written = 0;
    BOOL wrote;
    {
        FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.set());
        wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    }
    DWORD error = GetLastError();
    CloseHandle(file);
    EXPECT_FALSE(wrote);
    EXPECT_EQ(error, 223u);  // ERROR_FILE_TOO_LARGE
    EXPECT_EQ(written, 1000u);
    EXPECT_EQ(fs::file_size(name), 1000u);
}

TEST_F(FileWriteTest, AWriteToAFullDeviceFailsWithDiskFull) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    HANDLE file = create("/dev/full", CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(file, "1,2\r\n", 5, &written, NULL));
    EXPECT_EQ(GetLastError(), 112u);  // ERROR_DISK_FULL
    EXPECT_EQ(written, 0u);
    CloseHandle(file);
}

TEST_F(FileWriteTest, WriteFileGoesOnAfterInterruptedAndShortWrites) {
    // A pipe whose reader takes its time: the writer blocks, and a timer's signal (without
    // SA_RESTART) cuts its writes short or interrupts them before a byte went.
    std::string name = path("pipe");
    ASSERT_EQ(mkfifo(name.c_str(), 0600), 0);
    sigset_t alarm, previous;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &alarm, &previous);  // the reader inherits the block
    std::string received;
    std::thread reader([&] {
        int fd = open(name.c_str(), O_RDONLY);
        char chunk[16384];
        for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;) {
            received.append(chunk, static_cast<size_t>(n));
            usleep(200);
        }
        close(fd);
    });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);

    struct sigaction action = {}, saved;
    action.sa_handler = countInterruption;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, &saved);
    itimerval every = {{0, 500}, {0, 500}}, stopped = {{0, 0}, {0, 0}};
    g_interruptions = 0;

    HANDLE file = create(name, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string sent;
    for (int i = 0; sent.size() < 4 * 1024 * 1024; ++i) sent += std::to_string(i) + "\n";
    setitimer(ITIMER_REAL, &every, nullptr);
    DWORD written = 0;
    BOOL wrote = WriteFile(file, sent.data(), static_cast<DWORD>(sent.size()), &written, NULL);
    setitimer(ITIMER_REAL, &stopped, nullptr);
    sigaction(SIGALRM, &saved, nullptr);
    CloseHandle(file);
    reader.join();

    EXPECT_GT(g_interruptions.load(), 0);  // the writes were interrupted
    EXPECT_TRUE(wrote);
    EXPECT_EQ(written, sent.size());
    EXPECT_TRUE(received == sent) << received.size() << " of " << sent.size() << " bytes arrived";
}

TEST_F(FileWriteTest, MoveFileExPutsTheNewFileInPlaceOfTheOld) {
    std::string target = path("points.csv"), temporary = path("points.csv.tmp");
    put(target, "old\n");
    put(temporary, "new\n");

    // Without MOVEFILE_REPLACE_EXISTING an existing name is kept.
    EXPECT_FALSE(MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(GetLastError(), 183u);  // ERROR_ALREADY_EXISTS
    EXPECT_EQ(contents(target), "old\n");
    EXPECT_EQ(contents(temporary), "new\n");

    EXPECT_TRUE(MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(contents(target), "new\n");
    EXPECT_FALSE(fs::exists(temporary));

    // To a name not in use, without replacing, and into another folder.
    fs::create_directory(path("sub"));
    EXPECT_TRUE(MoveFileExA(target.c_str(), path("renamed.csv").c_str(), 0));
    EXPECT_TRUE(MoveFileExA(path("renamed.csv").c_str(), path("sub/moved.csv").c_str(), MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(contents(path("sub/moved.csv")), "new\n");
}

TEST_F(FileWriteTest, MoveFileExFailsWithTheWin32ErrorOfTheCause) {
    std::string file = path("a.csv");
    put(file, "a\n");
    fs::create_directory(path("folder"));
    struct Case {
        std::string from, to;
        DWORD error;
    };
    for (const Case& c : {Case{path("none.csv"), path("b.csv"), 2u},     // ERROR_FILE_NOT_FOUND
                          Case{path("no/none.csv"), path("b.csv"), 3u},  // ERROR_PATH_NOT_FOUND
                          Case{file, path("no/b.csv"), 3u},              // the new name's folder
                          Case{file, path("folder"), 5u},                // ERROR_ACCESS_DENIED
                          Case{file, "", 3u}}) {
        EXPECT_FALSE(MoveFileExA(c.from.c_str(), c.to.c_str(), MOVEFILE_REPLACE_EXISTING)) << c.from << " " << c.to;
        EXPECT_EQ(GetLastError(), c.error) << c.from << " " << c.to;
    }
    EXPECT_EQ(contents(file), "a\n");
    EXPECT_DEATH(MoveFileExA(file.c_str(), path("c.csv").c_str(), 2 /* MOVEFILE_COPY_ALLOWED */),
                 "MoveFileExA: flags other than");
}

TEST_F(FileWriteTest, MoveFileExDoesNotCopyToAnotherFileSystem) {
    struct stat here, shm;
    if (stat(dir.c_str(), &here) != 0 || stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    std::string file = path("a.csv");
    put(file, "a\n");
    std::string elsewhere = "/dev/shm/skerrow-move-" + std::to_string(getpid()) + ".csv";
    EXPECT_FALSE(MoveFileExA(file.c_str(), elsewhere.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), 17u);  // ERROR_NOT_SAME_DEVICE: no MOVEFILE_COPY_ALLOWED
    EXPECT_EQ(contents(file), "a\n");
    EXPECT_FALSE(fs::exists(elsewhere));
}

TEST_F(FileWriteTest, DeleteFileRemovesAFileOnly) {
    std::string file = path("gone.csv");
    put(file, "x\n");
    EXPECT_TRUE(DeleteFileA(file.c_str()));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(DeleteFileA(file.c_str()));
    EXPECT_EQ(GetLastError(), 2u);  // ERROR_FILE_NOT_FOUND
    EXPECT_FALSE(DeleteFileA(path("no/gone.csv").c_str()));
    EXPECT_EQ(GetLastError(), 3u);  // ERROR_PATH_NOT_FOUND
    EXPECT_FALSE(DeleteFileA(dir.c_str()));
    EXPECT_EQ(GetLastError(), 5u);  // a folder: ERROR_ACCESS_DENIED
    EXPECT_TRUE(fs::is_directory(dir));
}
