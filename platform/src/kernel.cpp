// kernel32: creating a file empty, closing its handle, the thread's last error, the
// module handle and lstrlenA.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <string>
#include <unordered_set>

#include "layer.h"

namespace {

// The object a file HANDLE points at.
struct FileHandle {
    int fd;
};

std::unordered_set<FileHandle*> s_files;
thread_local DWORD s_lastError = 0;

constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kErrorPathNotFound = 3;
constexpr DWORD kErrorTooManyOpenFiles = 4;
constexpr DWORD kErrorAccessDenied = 5;
constexpr DWORD kErrorInvalidHandle = 6;
constexpr DWORD kErrorDiskFull = 112;
constexpr DWORD kErrorFilenameTooLong = 206;
constexpr DWORD kErrorAlreadyExists = 183;
constexpr DWORD kErrorGeneralFailure = 31;  // ERROR_GEN_FAILURE

bool directoryExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string parentOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

DWORD win32Error(int error, const std::string& path) {
    switch (error) {
    case ENOENT: return directoryExists(parentOf(path)) ? kErrorFileNotFound : kErrorPathNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return kErrorAccessDenied;
    case ENOSPC:
    case EDQUOT: return kErrorDiskFull;
    case ENAMETOOLONG: return kErrorFilenameTooLong;
    case EMFILE:
    case ENFILE: return kErrorTooManyOpenFiles;
    default: return kErrorGeneralFailure;
    }
}

}  // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
    if (desiredAccess != GENERIC_WRITE || creationDisposition != CREATE_ALWAYS)
        layer::unsupported("CreateFileA: access other than GENERIC_WRITE with CREATE_ALWAYS");
    if (shareMode != 0 || security || templateFile)
        layer::unsupported("CreateFileA: sharing, security attributes or a template file");
    if (flagsAndAttributes != FILE_ATTRIBUTE_NORMAL) layer::unsupported("CreateFileA: attributes other than normal");
    if (!fileName || !*fileName) {
        s_lastError = kErrorPathNotFound;
        return INVALID_HANDLE_VALUE;
    }
    struct stat info;
    bool existed = stat(fileName, &info) == 0;
    int fd = open(fileName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        s_lastError = win32Error(errno, fileName);
        return INVALID_HANDLE_VALUE;
    }
    auto* file = new FileHandle{fd};
    s_files.insert(file);
    // CREATE_ALWAYS succeeds over an existing file and says so.
    s_lastError = existed ? kErrorAlreadyExists : 0;
    return file;
}

BOOL CloseHandle(HANDLE handle) {
    auto* file = static_cast<FileHandle*>(handle);
    if (!s_files.count(file)) {
        s_lastError = kErrorInvalidHandle;
        return FALSE;
    }
    s_files.erase(file);
    int result = close(file->fd);
    delete file;
    if (result != 0) {
        s_lastError = kErrorGeneralFailure;
        return FALSE;
    }
    return TRUE;
}

DWORD GetLastError(void) { return s_lastError; }

void layer::setLastError(DWORD error) { s_lastError = error; }

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName) layer::unsupported("GetModuleHandleA: a named module");
    // Any fixed non-null value; the program only passes it back to the layer.
    static char s_module;
    return reinterpret_cast<HMODULE>(&s_module);
}

int lstrlenA(LPCSTR text) { return text ? static_cast<int>(std::strlen(text)) : 0; }
