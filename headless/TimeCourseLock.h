#pragma once

// One run per pair at a time: while a run works on a linked time course it holds an advisory
// lock on that file (flock; LockFileEx on Windows, on a byte past any file's end so that readers
// are never kept out). A second run that links the same file waits until the first links another
// or ends.

#include <functional>
#include <string>

namespace headless {

class TimeCourseLock {
  public:
    // Takes the lock on the file at `path`, waiting while another run holds it; `waiting` is told
    // once, with the path, when it has to wait. A file that cannot be opened is not locked.
    TimeCourseLock(const std::string& path, const std::function<void(const std::string&)>& waiting);
    ~TimeCourseLock();
    TimeCourseLock(const TimeCourseLock&) = delete;
    TimeCourseLock& operator=(const TimeCourseLock&) = delete;

    bool held() const { return held_; }

  private:
#if defined(_WIN32)
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    bool held_ = false;
};

}  // namespace headless
