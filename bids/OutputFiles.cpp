#include "bids/OutputFiles.h"

#include <filesystem>
#include <fstream>

#include "bids/InputError.h"

namespace bids {

namespace fs = std::filesystem;

namespace {

std::string temporaryName(const std::string& path) {
    return path + ".sdmweaver-partial";
}

void removeAll(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
}

}  // namespace

void writeOutputs(const std::vector<OutputFile>& files) {
    std::vector<std::string> written;
    for (const OutputFile& file : files) {
        const std::string temporary = temporaryName(file.path);
        std::ofstream out(temporary, file.textMode
                                         ? std::ios::out | std::ios::trunc
                                         : std::ios::out | std::ios::trunc | std::ios::binary);
        if (out) {
            written.push_back(temporary);
            out << file.text;
            out.close();
        }
        if (!out) {
            removeAll(written);
            throw InputError("cannot write " + file.path);
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code code;
        fs::rename(written[i], files[i].path, code);
        if (code) {
            // The files renamed before stay; those after are not left half-made.
            removeAll(std::vector<std::string>(written.begin() + static_cast<std::ptrdiff_t>(i),
                                               written.end()));
            throw InputError("cannot write " + files[i].path + ": " + code.message());
        }
    }
}

void refuseOverwritingInput(const std::string& output, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        std::error_code code;
        std::error_code other;
        const bool same = (fs::equivalent(output, input, code) && !code) ||
                          fs::weakly_canonical(output, code) == fs::weakly_canonical(input, other);
        if (same) {
            throw InputError("the output " + output + " is the input " + input +
                             "; name another output file");
        }
    }
}

}  // namespace bids
