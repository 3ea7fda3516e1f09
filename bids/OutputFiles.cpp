#include "bids/OutputFiles.h"

#include <memory>

#include "bids/InputError.h"
#include "paths/SameFile.h"
#include "paths/WholeFile.h"

namespace bids {

void writeOutputs(const std::vector<OutputFile>& files) {
    // Each file is written beside its place first; none is renamed until all are written.
    std::vector<std::unique_ptr<paths::WholeFile>> written;
    for (const OutputFile& file : files) {
        written.push_back(std::make_unique<paths::WholeFile>(
            file.path,
            file.textMode ? paths::WholeFile::Mode::Text : paths::WholeFile::Mode::Binary));
        written.back()->stream() << file.text;
        // Closed at once: a dataset's many files are not all held open until they are renamed.
        if (!written.back()->finish()) {
            throw InputError("cannot write " + file.path);
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        // The files renamed before stay; those after are not left half-made.
        if (!written[i]->commit()) {
            throw InputError("cannot write " + files[i].path);
        }
    }
}

void refuseOverwritingInput(const std::string& output, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        if (paths::isSameFile(output, input)) {
            throw InputError("the output " + output + " is the input " + input +
                             "; name another output file");
        }
    }
}

}  // namespace bids
