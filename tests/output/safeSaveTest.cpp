// Saving without losing anything: the chosen name keeps its old bytes, or stays absent,
// until the new file is whole and on the disk, whatever stops the write (a kill of the
// process, the output's folder removed, the point file changed in place while it is read);
// a file replaced keeps its permissions, a link stays a link, and the new file's own name
// never takes another's.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "outputTest.h"
#include "reader/byteChecksum.h"
#include "support/surveyLines.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char kOld[] = "the points of an earlier write\r\n";

std::string manyLines(int blocks) {
    std::string text;
    for (int block = 0; block < blocks; ++block) text += surveyLines(block * 20000, 20000);
    return text;
}

// The files of the folder whose names hold the new file's mark.
std::vector<fs::path> newFilesIn(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".skerrow-") != std::string::npos) found.push_back(entry.path());
    return found;
}

// Runs action once, on its own thread, as soon as a file whose name holds the new file's
// mark appears in folder: the write has begun and is under way.
class NewFileWatch {
public:
    template <class Action>
    NewFileWatch(const fs::path& folder, Action action) : watch_(inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {
        EXPECT_GE(watch_, 0);
        EXPECT_GE(inotify_add_watch(watch_, folder.c_str(), IN_CREATE), 0);
        thread_ = std::thread([this, action] {
            alignas(inotify_event) char events[4096];
            while (!done_) {
                pollfd wait = {watch_, POLLIN, 0};
                if (poll(&wait, 1, 20) <= 0) continue;
                const ssize_t got = ::read(watch_, events, sizeof events);
                for (ssize_t at = 0; at < got;) {
                    const inotify_event* event = reinterpret_cast<const inotify_event*>(events + at);
                    if (event->len && std::string(event->name).find(".skerrow-") != std::string::npos) {
                        action();
                        seen_ = true;
                        return;
                    }
                    at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                }
            }
        });
    }
    ~NewFileWatch() {
        done_ = true;
        thread_.join();
        close(watch_);
        EXPECT_TRUE(seen_) << "the write made no new file";
    }

private:
    int watch_;
    std::thread thread_;
    std::atomic<bool> done_{false}, seen_{false};
};

}  // namespace

class SafeSaveTest : public OutputTest {
protected:
    // A write of all points as comma separated copies over the existing file at name, its
    // replacement confirmed; returns the bytes then there.
    std::string writeAndReplace(const std::string& name) {
        answerWriteFileAs(WriteChoice());
        answerSaveReplacing(name);
        td::expectModal([](td::Modal& m) {
            EXPECT_EQ(m.caption(), "File Saved");
            m.answer(IDOK);
        });
        td::command(window, IDM_SELECTALL);
        return read(name);
    }
};

// The process killed in the middle of a long write, as a power cut or the system would stop
// it: the chosen name holds its old bytes, never a part of the new file.
TEST_F(SafeSaveTest, AKillDuringTheWriteLeavesTheOldBytes) {
    const std::string input = file("points.csv", manyLines(100));
    const std::string out = file("out.csv", kOld);
    pid_t child;
    const char* args[] = {SKERROW_BENCH_PROGRAM, "selectall", input.c_str(), out.c_str(), nullptr};
    setenv("SKERROW_THREADS", "1", 1);  // the slower write, to be sure of catching it midway
    ASSERT_EQ(posix_spawn(&child, args[0], nullptr, nullptr, const_cast<char**>(args), environ), 0);
    unsetenv("SKERROW_THREADS");
    // Killed once the new file holds a few megabytes: well into the write.
    bool killed = false;
    int status = 0;
    for (int i = 0; i < 20000 && !killed; ++i) {
        if (waitpid(child, &status, WNOHANG) == child) break;
        for (const fs::path& made : newFilesIn(dir)) {
            std::error_code error;
            if (fs::file_size(made, error) > (4u << 20) && !error) {
                kill(child, SIGKILL);
                killed = true;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    ASSERT_TRUE(killed) << "the write ended before it could be killed";
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(read(out), kOld);
    // What is left of the new file bears a name that tells whose it was.
    const std::vector<fs::path> left = newFilesIn(dir);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].filename().string().rfind("out.csv.skerrow-", 0), 0u) << left[0];
}

// The point file's bytes changed in place while the writer reads it, with its size and
// times kept, as a copy that sets the times back leaves it: only the bytes tell, and
// nothing is written.
TEST_F(SafeSaveTest, ASameSizeChangeDuringTheWriteWritesNothing) {
    const std::string content = manyLines(100);
    const std::string input = openPoints(content);
    const std::string out = path("out.csv");
    struct stat before;
    ASSERT_EQ(stat(input.c_str(), &before), 0);
    std::string changed = content;
    const size_t last = changed.rfind("5288", changed.size() - 2);
    changed[last + 3] = changed[last + 3] == '9' ? '8' : '9';
    answerWriteFileAs(WriteChoice());
    answerSave(out);
    td::expectMessage(
        "Error", "Point file changed while it was read\n" + input + "\n" + out + " is as it was: nothing was written.");
    {
        // The last lines are read last: the change is there before the writer comes to them.
        NewFileWatch watch(dir, [&] {
            std::fstream(input, std::ios::binary | std::ios::in | std::ios::out) << changed;
            const timespec times[2] = {before.st_atim, before.st_mtim};
            utimensat(AT_FDCWD, input.c_str(), times, 0);
        });
        td::command(window, IDM_SELECTALL);
    }
    td::checkDone();
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(newFilesIn(dir).empty());
    struct stat after;
    ASSERT_EQ(stat(input.c_str(), &after), 0);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

// The output's folder removed while the write goes on: never "File Saved".
TEST_F(SafeSaveTest, TheOutputsFolderRemovedDuringTheWriteIsNoSave) {
    openPoints(manyLines(50));
    fs::create_directory(dir / "out");
    const std::string out = (dir / "out" / "out.csv").string();
    answerWriteFileAs(WriteChoice());
    answerSave(out);
    td::expectMessage("Error", "Can't save file\n" + out + "\nNothing was written.");
    {
        NewFileWatch watch(dir / "out", [&] { fs::remove_all(dir / "out"); });
        td::command(window, IDM_SELECTALL);
    }
    td::checkDone();
    EXPECT_EQ(messagesWithCaption("File Saved"), 0);
    EXPECT_FALSE(fs::exists(dir / "out"));
}

// A file replaced keeps its permission bits; a link stays a link, and the file it leads to
// is the one replaced.
TEST_F(SafeSaveTest, AReplacedFileKeepsItsPermissionsAndALinkStaysALink) {
    openPoints("1000.5,2000.25,15.0\n1100,2100,16\n");
    const std::string written = "1000.5,2000.25,15.0\r\n1100,2100,16\r\n";
    const std::string kept = file("kept.csv", kOld);
    fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(writeAndReplace(kept), written);
    EXPECT_EQ(fs::status(kept).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    td::command(window, IDM_REDRAW);
    fs::create_directory(dir / "real");
    const std::string target = file("real/target.csv", kOld);
    fs::create_symlink("real/target.csv", dir / "link.csv");
    EXPECT_EQ(writeAndReplace(path("link.csv")), written);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir / "link.csv")));
    EXPECT_EQ(read(target), written);
    EXPECT_TRUE(newFilesIn(dir).empty());
    EXPECT_TRUE(newFilesIn(dir / "real").empty());
}

// The new file's name is made in one step: a name already taken, by another run or by
// one that was killed, is left alone, and the next one is used.
TEST_F(SafeSaveTest, ANewFileNameAlreadyTakenIsLeftAlone) {
    openPoints("1000.5,2000.25,15.0\n1100,2100,16\n");
    const std::string out = path("out.csv");
    const std::string taken = out + ".skerrow-" + std::to_string(getpid()) + "-1.tmp";
    file("out.csv.skerrow-" + std::to_string(getpid()) + "-1.tmp", "another run's\n");
    answerWriteFileAs(WriteChoice());
    answerSave(out);
    expectSaved(2, out);
    td::command(window, IDM_SELECTALL);
    EXPECT_EQ(read(out), "1000.5,2000.25,15.0\r\n1100,2100,16\r\n");
    EXPECT_EQ(read(taken), "another run's\n");
    EXPECT_EQ(newFilesIn(dir).size(), 1u);
}

// The Open's checksum is the file's, whichever way it read it: in one pass on several
// workers, or counting and parsing on one; with a byte-order mark and a header skipped.
TEST_F(SafeSaveTest, TheOpensChecksumIsTheWholeFilesOnEveryWorkerCount) {
    const std::string content =
        "\xEF\xBB\xBF"
        "Easting,Northing,Height\n" +
        manyLines(3);
    const std::string input = file("points.csv", content);
    const uint64_t whole = checksumOf(0, content.data(), content.size());
    bool first = true;
    for (const char* workers : {"1", "2", "3"}) {
        setenv("SKERROW_THREADS", workers, 1);
        openFile(input, false, true, first);
        first = false;
        ASSERT_EQ(g_viewState, ViewState::Drawn) << workers << " workers";
        EXPECT_EQ(g_inputChecksum, whole) << workers << " workers";
    }
    unsetenv("SKERROW_THREADS");
}
