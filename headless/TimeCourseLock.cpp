#include "headless/TimeCourseLock.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace headless {

#if defined(_WIN32)

namespace {

// The locked byte lies far past the end of any time course, so that the lock, which Windows
// enforces on reads, keeps no reader out.
bool lockRange(HANDLE file, DWORD flags) {
    OVERLAPPED where{};
    where.Offset = 0;
    where.OffsetHigh = 0x7FFFFFF0;
    return LockFileEx(file, flags, 0, 1, 0, &where) != 0;
}

}  // namespace

TimeCourseLock::TimeCourseLock(const std::string& path,
                               const std::function<void(const std::string&)>& waiting) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    handle_ = file;
    held_ = lockRange(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY);
    if (!held_ && GetLastError() == ERROR_LOCK_VIOLATION) {
        waiting(path);
        held_ = lockRange(file, LOCKFILE_EXCLUSIVE_LOCK);
    }
}

TimeCourseLock::~TimeCourseLock() {
    if (handle_ != nullptr) {
        // Closing the handle releases the lock.
        CloseHandle(static_cast<HANDLE>(handle_));
    }
}

#else

TimeCourseLock::TimeCourseLock(const std::string& path,
                               const std::function<void(const std::string&)>& waiting) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        return;
    }
    held_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    if (!held_ && errno == EWOULDBLOCK) {
        waiting(path);
        int result = 0;
        while ((result = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
        }
        held_ = result == 0;
    }
}

TimeCourseLock::~TimeCourseLock() {
    if (fd_ >= 0) {
        // Closing the file releases the lock.
        ::close(fd_);
    }
}

#endif

}  // namespace headless
