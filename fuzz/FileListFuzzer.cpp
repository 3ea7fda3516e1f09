// Any bytes as a file list: reading logs the declared count, every token and the list's path,
// keeps no entry shorter than two characters unless it was quoted, and every entry gets one of
// the six kinds. The list file is left as it was.

#include <cstddef>
#include <cstdint>
#include <string>

#include "batch/FileKind.h"
#include "batch/FileList.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::startCapturedLog();
    const std::string path = fuzzsupport::scratchFile("list.txt");
    fuzzsupport::writeBytes(path, data, size);
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const auto list = batch::readFileList(path);
    const auto& log = fuzzsupport::loggedEntries();
    if (!list) {
        FUZZ_CHECK(!log.empty(), "a list that is not read is not reported");
    } else {
        FUZZ_CHECK(
            fuzzsupport::logged("Number of PRT-VTC pairs: " + std::to_string(list->declaredCount)),
            "the declared count is not logged as read");
        FUZZ_CHECK(!log.empty() && log.back() == "Generating SDM(s) from: " + path,
                   "the list's path is not the last line");
        for (const auto& entry : list->entries) {
            FUZZ_CHECK(entry.find('\0') == std::string::npos,
                       "an entry holds a NUL character, which every path consumer cuts");
            FUZZ_CHECK(fuzzsupport::logged(entry), "an entry was taken without being logged");
            FUZZ_CHECK(bytes.find(entry) != std::string::npos, "an entry is not in the file");
            const int kind = batch::classifyListEntry(entry);
            FUZZ_CHECK(kind >= batch::Unrecognised && kind <= batch::Respiration,
                       "a kind outside 0 to 5");
        }
    }
    FUZZ_CHECK(fuzzsupport::readBytes(path) == bytes, "reading changed the list file");
    return 0;
}
