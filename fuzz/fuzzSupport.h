// Shared by the fuzz targets: a scratch point file per process, a byte reader for the
// choices a target takes from its input, and a check that aborts (a libFuzzer finding).
#ifndef SKERROW_FUZZ_FUZZSUPPORT_H
#define SKERROW_FUZZ_FUZZSUPPORT_H

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace fuzz {

// A violated property is a finding: print it and abort so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition, what)                                                            \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// Takes choices off the front of the input; whatever is left is the payload.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() {
        if (size_ == 0) return 0;
        --size_;
        return *data_++;
    }
    template <typename T>
    T value() {
        T result{};
        size_t n = size_ < sizeof result ? size_ : sizeof result;
        std::memcpy(&result, data_, n);
        data_ += n;
        size_ -= n;
        return result;
    }
    std::string rest() { return std::string(reinterpret_cast<const char*>(data_), size_); }

private:
    const uint8_t* data_;
    size_t size_;
};

// A path in the temporary folder, unique to this process, with the point file extension.
inline std::string scratchPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/skerrow-fuzz-" + std::to_string(getpid()) + "-" + name;
}

inline void writeFile(const std::string& path, const std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr, "scratch file can be created");
    if (!content.empty())
        FUZZ_CHECK(std::fwrite(content.data(), 1, content.size(), file) == content.size(), "scratch file written");
    FUZZ_CHECK(std::fclose(file) == 0, "scratch file closed");
}

inline std::string readFile(const std::string& path) {
    std::string content;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return content;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, n);
    std::fclose(file);
    return content;
}

// Removes the scratch files when the fuzzer exits.
inline void removeAtExit(const std::string& path) {
    static std::string paths[4];
    static int count = 0;
    if (count < 4) paths[count++] = path;
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit([] {
            for (int i = 0; i < count; ++i) std::remove(paths[i].c_str());
        });
    }
}

}  // namespace fuzz

#endif
