#include "text/DesignFileHeader.h"

#include "text/FileName.h"

namespace text {

namespace {

// One entry: a key token, then an integer. The field is set only when both were read.
bool readEntry(TextScanner& scanner, DesignFileHeader& header, HeaderEntry entry,
               std::int32_t& field) {
    std::string& key = header.keys[static_cast<std::size_t>(entry)];
    std::int32_t value = 0;
    if (!scanner.word(key) || !scanner.integer(value)) {
        return false;
    }
    field = value;
    ++header.entriesRead;
    return true;
}

}  // namespace

DesignFileLayout designFileLayoutOf(std::string_view path) {
    return fileNameOf(path).find(".rtc") != std::string_view::npos ? DesignFileLayout::TimeCourse
                                                                   : DesignFileLayout::DesignMatrix;
}

bool readDesignFileHeader(TextScanner& scanner, DesignFileLayout layout, DesignFileHeader& header) {
    header = DesignFileHeader();
    if (!readEntry(scanner, header, HeaderEntry::FileVersion, header.fileVersion)) {
        return false;
    }
    if (layout == DesignFileLayout::TimeCourse) {
        header.firstConfound = 1;
        std::string skipped;
        return scanner.word(skipped) && scanner.word(skipped) &&
               readEntry(scanner, header, HeaderEntry::NrOfPredictors, header.nrOfPredictors) &&
               readEntry(scanner, header, HeaderEntry::NrOfDataPoints, header.nrOfDataPoints);
    }
    return readEntry(scanner, header, HeaderEntry::NrOfPredictors, header.nrOfPredictors) &&
           readEntry(scanner, header, HeaderEntry::NrOfDataPoints, header.nrOfDataPoints) &&
           readEntry(scanner, header, HeaderEntry::IncludesConstant, header.includesConstant) &&
           readEntry(scanner, header, HeaderEntry::FirstConfound, header.firstConfound);
}

}  // namespace text
