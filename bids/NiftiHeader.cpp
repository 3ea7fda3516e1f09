#include "bids/NiftiHeader.h"

#include <zlib.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "bids/InputError.h"
#include "paths/RegularFile.h"

namespace bids {

namespace {

// Field offsets of the two header layouts.
struct Layout {
    std::size_t dim;
    std::size_t pixdim;
    std::size_t xyztUnits;
    std::size_t magic;
    std::string_view oneFile;   // the magic text of a .nii
    std::string_view twoFiles;  // the magic text of a .hdr beside its .img
};
constexpr Layout kNifti1{
    40, 76, 123, 344, std::string_view("n+1\0", 4), std::string_view("ni1\0", 4)};
constexpr Layout kNifti2{
    16, 104, 500, 4, std::string_view("n+2\0", 4), std::string_view("ni2\0", 4)};

class FieldReader {
  public:
    FieldReader(std::string_view bytes, bool bigEndian) : bytes_(bytes), swap_(bigEndian) {}

    template <typename Value>
    Value at(std::size_t offset) const {
        unsigned char raw[sizeof(Value)];
        std::memcpy(raw, bytes_.data() + offset, sizeof(Value));
        if (swap_ != (std::endian::native == std::endian::big)) {
            for (std::size_t i = 0; i < sizeof(Value) / 2; ++i) {
                std::swap(raw[i], raw[sizeof(Value) - 1 - i]);
            }
        }
        Value value;
        std::memcpy(&value, raw, sizeof(Value));
        return value;
    }

  private:
    std::string_view bytes_;
    bool swap_;
};

constexpr double kSecondsPerUnit[] = {1.0, 1e-3, 1e-6};  // time units 8, 16, 24
constexpr int kTimeUnitMask = 0x38;

}  // namespace

NiftiHeader parseNiftiHeader(std::string_view bytes, const std::string& path) {
    if (bytes.size() < kNifti1HeaderSize) {
        throw InputError(path + ": the file ends after " + std::to_string(bytes.size()) +
                         " bytes, inside the NIfTI header (348 bytes at least)");
    }
    NiftiHeader header;
    const auto size = FieldReader(bytes, false).at<std::int32_t>(0);
    const auto swapped = FieldReader(bytes, true).at<std::int32_t>(0);
    const auto isSize = [](std::int32_t value) {
        return value == static_cast<std::int32_t>(kNifti1HeaderSize) ||
               value == static_cast<std::int32_t>(kNifti2HeaderSize);
    };
    if (!isSize(size) && !isSize(swapped)) {
        throw InputError(path + ": not a NIfTI-1 or NIfTI-2 file (its first four bytes, " +
                         std::to_string(size) + ", are neither 348 nor 540 in either byte order)");
    }
    header.bigEndian = !isSize(size);
    const std::int32_t headerSize = header.bigEndian ? swapped : size;
    header.version = headerSize == static_cast<std::int32_t>(kNifti1HeaderSize) ? 1 : 2;
    if (bytes.size() < static_cast<std::size_t>(headerSize)) {
        throw InputError(path + ": the file ends after " + std::to_string(bytes.size()) +
                         " bytes, inside the NIfTI-2 header (540 bytes)");
    }
    const Layout& layout = header.version == 1 ? kNifti1 : kNifti2;
    const std::string name = "NIfTI-" + std::to_string(header.version) + " header";
    const std::string_view magic = bytes.substr(layout.magic, 4);
    if (magic != layout.oneFile && magic != layout.twoFiles) {
        throw InputError(path + ": the " + name + " has no valid magic text (\"" +
                         std::string(layout.oneFile.substr(0, 3)) + "\" or \"" +
                         std::string(layout.twoFiles.substr(0, 3)) + "\")");
    }
    const FieldReader fields(bytes, header.bigEndian);
    for (std::size_t i = 0; i < 8; ++i) {
        if (header.version == 1) {
            header.dim[i] = fields.at<std::int16_t>(layout.dim + 2 * i);
            header.pixdim[i] = static_cast<double>(fields.at<float>(layout.pixdim + 4 * i));
        } else {
            header.dim[i] = fields.at<std::int64_t>(layout.dim + 8 * i);
            header.pixdim[i] = fields.at<double>(layout.pixdim + 8 * i);
        }
    }
    header.xyztUnits = header.version == 1 ? fields.at<std::uint8_t>(layout.xyztUnits)
                                           : fields.at<std::int32_t>(layout.xyztUnits);
    if (header.dim[0] < 1 || header.dim[0] > 7) {
        throw InputError(path + ": the " + name + "'s dim[0] is " + std::to_string(header.dim[0]) +
                         "; it must lie between 1 and 7");
    }
    header.volumes = header.dim[0] >= 4 ? header.dim[4] : 1;
    if (header.volumes < 1) {
        throw InputError(path + ": the " + name + "'s dim[4] (volumes) is " +
                         std::to_string(header.volumes) + "; a run has at least one volume");
    }
    if (header.volumes > kMostVolumes) {
        throw InputError(path + ": the " + name + "'s dim[4] (volumes) is " +
                         std::to_string(header.volumes) + "; more than " +
                         std::to_string(kMostVolumes) + " volumes are not read");
    }
    const int timeUnit = header.xyztUnits & kTimeUnitMask;
    const double step = header.pixdim[4];
    const double seconds =
        timeUnit <= 24 ? step * (timeUnit == 0 ? 1.0 : kSecondsPerUnit[timeUnit / 8 - 1]) : 0.0;
    // A step so small that it is no time in seconds (microseconds of a denormal) is none.
    if (std::isfinite(seconds) && seconds > 0.0) {
        header.timeUnitAssumed = timeUnit == 0;
        header.repetitionTime = seconds;
    }
    return header;
}

NiftiHeader readNiftiHeader(const std::string& path) {
    if (paths::isIrregularFile(path)) {
        throw InputError(paths::irregularFileText(path));
    }
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw InputError("cannot open the NIfTI file " + path);
    }
    std::string bytes(kNifti2HeaderSize, '\0');
    std::size_t have = 0;
    while (have < bytes.size()) {
        const int read =
            gzread(file, bytes.data() + have, static_cast<unsigned>(bytes.size() - have));
        if (read < 0) {
            int code = 0;
            const std::string reason = gzerror(file, &code);
            gzclose(file);
            throw InputError(path + ": cannot read the NIfTI header: " + reason);
        }
        if (read == 0) {
            break;
        }
        have += static_cast<std::size_t>(read);
    }
    gzclose(file);
    bytes.resize(have);
    return parseNiftiHeader(bytes, path);
}

}  // namespace bids
