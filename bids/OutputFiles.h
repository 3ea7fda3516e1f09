#pragma once

// Writing a command's outputs all or nothing: each file is written beside its place under a
// temporary name, and only when all are written are they renamed into place.

#include <string>
#include <vector>

namespace bids {

struct OutputFile {
    std::string path;
    std::string text;      // with '\n' line ends
    bool textMode = true;  // platform line ends (CR LF on Windows); false: the bytes as they are
};

// Writes the files. InputError naming the file when one cannot be written; then none of them
// has been written or changed. The paths differ from one another.
void writeOutputs(const std::vector<OutputFile>& files);

// InputError when `output` names the same file as one of `inputs`, existing or not (a command
// must not write over what it reads, nor write one file twice).
void refuseOverwritingInput(const std::string& output, const std::vector<std::string>& inputs);

}  // namespace bids
