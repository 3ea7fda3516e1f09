#pragma once

// Writing a file whole or not at all, never through a link: the bytes go to a temporary file
// created anew and exclusively in the target's folder, named `<target>.partial-<id>`, which is
// then renamed over the target. A hard link or a symbolic link at the target's name is replaced,
// never written through. A target that exists and is not a regular file (a device, a FIFO) is
// written in place, never renamed over; a folder or a read-only file there is not replaced. Only
// a killed process leaves a temporary behind.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace paths {

// What a temporary of the target is named after: the target's path, then this mark, then an id.
inline constexpr const char* kPartialMark = ".partial-";

class WholeFile {
  public:
    enum class Mode { Text, Binary };  // Text: platform line ends (CR LF on Windows)
    // What becomes of the file when the object goes without commit() or discard().
    enum class Ending { Discard, Commit };

    explicit WholeFile(std::string target, Mode mode = Mode::Text, Ending ending = Ending::Discard);
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // False when no file could be created for the target; stream() then writes nowhere.
    bool isOpen() const { return opened_; }
    // True while open and every write so far went through.
    bool good() const { return closed_ ? written_ : isOpen() && !stream_->fail(); }
    std::ostream& stream();
    const std::string& target() const { return target_; }

    // Writes out what is buffered and closes, leaving the temporary unnamed until commit(), so
    // that many files can be written before any is put in place. True when all was written.
    bool finish();
    // Writes out what is buffered, closes, and renames over the target. True when the whole file
    // now stands under the target's name; on false the temporary is gone and the target as it was.
    bool commit();
    // Closes and removes the temporary; the target stays as it was.
    void discard();

  private:
    class Buffer;

    std::string target_;
    std::string temporary_;  // empty when written in place
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    Ending ending_;
    bool finished_ = false;  // committed or discarded
    bool opened_ = false;
    bool closed_ = false;
    bool written_ = false;  // when closed: every byte went through
};

// Writes `bytes` to `target` by the rule above; true when the whole file stands under its name.
bool writeWholeFile(const std::string& target, const std::string& bytes,
                    WholeFile::Mode mode = WholeFile::Mode::Text);

// The temporaries that killed writers left in `folder` (file names holding kPartialMark followed
// by an id), as paths in that folder.
std::vector<std::string> leftoverTemporaries(const std::string& folder);

}  // namespace paths
