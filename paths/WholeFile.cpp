#include "paths/WholeFile.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <streambuf>
#include <string>
#include <string_view>
#include <system_error>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace paths {

namespace fs = std::filesystem;

namespace {

#if defined(_WIN32)
int openFile(const std::string& path, bool create, WholeFile::Mode /*mode*/) {
    // Always binary: the buffer writes a text file's CR LF itself (Buffer's crLf_), and the C
    // runtime's text mode would add a second CR.
    int flags = _O_WRONLY | _O_NOINHERIT | _O_BINARY;
    if (create) {
        flags |= _O_CREAT | _O_EXCL;
    }
    return _open(path.c_str(), flags, _S_IREAD | _S_IWRITE);
}
long writeSome(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(size > 0x40000000u ? 0x40000000u : size));
}
int closeFile(int fd) {
    return _close(fd);
}
long processId() {
    return _getpid();
}
#else
int openFile(const std::string& path, bool create, WholeFile::Mode) {
    int flags = O_WRONLY | O_CLOEXEC;
    if (create) {
        flags |= O_CREAT | O_EXCL | O_NOFOLLOW;
    }
    return ::open(path.c_str(), flags, 0666);
}
long writeSome(int fd, const char* data, std::size_t size) {
    return static_cast<long>(::write(fd, data, size));
}
int closeFile(int fd) {
    return ::close(fd);
}
long processId() {
    return static_cast<long>(::getpid());
}
#endif

// True when something that is not a regular file stands at the path (links followed).
bool isSpecialFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return !error && fs::exists(status) && !fs::is_regular_file(status) &&
           !fs::is_directory(status);
}

// True when the target may not be replaced: a folder, or a file its owner made read-only.
bool isProtected(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) {
        return false;
    }
#if defined(_WIN32)
    return fs::is_directory(status) || _access(path.c_str(), 2) != 0;
#else
    return fs::is_directory(status) || ::access(path.c_str(), W_OK) != 0;
#endif
}

std::atomic<unsigned long> temporariesMade{0};

}  // namespace

// Buffered output to a file descriptor; remembers whether any write failed.
class WholeFile::Buffer : public std::streambuf {
  public:
    // crLf: each '\n' written as CR LF, text mode on Windows.
    Buffer(int fd, bool crLf) : fd_(fd), crLf_(crLf) {
        setp(bytes_.data(), bytes_.data() + bytes_.size());
    }
    ~Buffer() override { close(); }

    bool failed() const { return failed_; }

    // Writes out and closes; false when a write or the close failed.
    bool close() {
        if (fd_ < 0) {
            return !failed_;
        }
        flushBytes();
        if (closeFile(fd_) != 0) {
            failed_ = true;
        }
        fd_ = -1;
        return !failed_;
    }

  protected:
    int_type overflow(int_type c) override {
        if (!flushBytes()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return flushBytes() ? 0 : -1; }

  private:
    bool flushBytes() {
        const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
        if (crLf_) {
            std::string text;
            text.reserve(size + size / 16);
            for (const char* c = pbase(); c != pptr(); ++c) {
                if (*c == '\n') {
                    text += '\r';
                }
                text += *c;
            }
            writeAll(text.data(), text.size());
        } else {
            writeAll(pbase(), size);
        }
        setp(bytes_.data(), bytes_.data() + bytes_.size());
        return !failed_ && fd_ >= 0;
    }

    void writeAll(const char* data, std::size_t left) {
        while (left > 0 && !failed_ && fd_ >= 0) {
            const long written = writeSome(fd_, data, left);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                failed_ = true;
                break;
            }
            data += written;
            left -= static_cast<std::size_t>(written);
        }
    }

    int fd_;
    bool crLf_;
    bool failed_ = false;
    std::array<char, 64 * 1024> bytes_{};
};

WholeFile::WholeFile(std::string target, Mode mode, Ending ending)
    : target_(std::move(target)), ending_(ending) {
    int fd = -1;
    if (isSpecialFile(target_)) {
        fd = openFile(target_, false, mode);
    } else if (!isProtected(target_)) {
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            temporary_ = target_ + kPartialMark + std::to_string(processId()) + "-" +
                         std::to_string(temporariesMade.fetch_add(1));
            fd = openFile(temporary_, true, mode);
            if (fd < 0 && errno != EEXIST) {
                break;
            }
        }
        if (fd < 0) {
            temporary_.clear();
        }
    }
    if (fd >= 0) {
        opened_ = true;
#if defined(_WIN32)
        buffer_ = std::make_unique<Buffer>(fd, mode == Mode::Text);
#else
        buffer_ = std::make_unique<Buffer>(fd, false);
#endif
        stream_ = std::make_unique<std::ostream>(buffer_.get());
    } else {
        stream_ = std::make_unique<std::ostream>(nullptr);
        finished_ = true;
    }
}

WholeFile::~WholeFile() {
    if (!finished_) {
        if (ending_ == Ending::Commit) {
            commit();
        } else {
            discard();
        }
    }
}

std::ostream& WholeFile::stream() {
    return *stream_;
}

bool WholeFile::finish() {
    if (!closed_ && buffer_ != nullptr) {
        closed_ = true;
        stream_->flush();
        written_ = !stream_->bad() && buffer_->close();
        // The buffer's memory goes with the file: many may wait to be committed.
        stream_->rdbuf(nullptr);
        buffer_.reset();
    }
    return written_;
}

bool WholeFile::commit() {
    if (finished_) {
        return false;
    }
    const bool written = finish();
    finished_ = true;
    if (temporary_.empty()) {
        return written;
    }
    std::error_code error;
    if (written) {
        fs::rename(temporary_, target_, error);
        if (!error) {
            return true;
        }
    }
    fs::remove(temporary_, error);
    return false;
}

void WholeFile::discard() {
    if (finished_) {
        return;
    }
    finish();
    finished_ = true;
    if (!temporary_.empty()) {
        std::error_code error;
        fs::remove(temporary_, error);
    }
}

bool writeWholeFile(const std::string& target, const std::string& bytes, WholeFile::Mode mode) {
    WholeFile file(target, mode);
    if (!file.isOpen()) {
        return false;
    }
    file.stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.commit();
}

std::vector<std::string> leftoverTemporaries(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        const std::size_t mark = name.rfind(kPartialMark);
        if (mark == std::string::npos || mark == 0) {
            continue;
        }
        const std::string id = name.substr(mark + std::string_view(kPartialMark).size());
        if (!id.empty() && id.find_first_not_of("0123456789-") == std::string::npos) {
            found.push_back(it->path().generic_string());
        }
    }
    return found;
}

}  // namespace paths
