#pragma once

// Reader of the NIfTI-1 and NIfTI-2 headers of a BOLD run (*.nii, *.nii.gz, or the *.hdr of a
// pair), either byte order: what the design needs from it, the number of volumes and the time
// between them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bids {

inline constexpr std::size_t kNifti1HeaderSize = 348;
inline constexpr std::size_t kNifti2HeaderSize = 540;
// More volumes than any run holds: a header that declares more is refused before anything is
// sized by it.
inline constexpr std::int64_t kMostVolumes = 1'000'000;

struct NiftiHeader {
    int version = 1;  // 1 or 2
    bool bigEndian = false;
    std::array<std::int64_t, 8> dim{};  // dim[0] dimensions, dim[1..7] their sizes
    std::array<double, 8> pixdim{};     // pixdim[4]: time between volumes, in the time unit
    int xyztUnits = 0;
    std::int64_t volumes = 1;  // dim[4], or 1 with fewer than four dimensions
    // pixdim[4] in seconds; none when the header gives no usable time step (not positive, or a
    // unit that is not a time).
    std::optional<double> repetitionTime;
    bool timeUnitAssumed = false;  // the unit was 0 (unknown) and seconds were assumed
};

// The header in `bytes` (at least the header's size), read from `path` (named in messages).
// InputError for a size field that is neither 348 nor 540 in either byte order, a wrong magic
// text, dim[0] outside 1..7, or fewer than one volume.
NiftiHeader parseNiftiHeader(std::string_view bytes, const std::string& path);

// Reads the first 540 bytes of the file, through zlib when it is gzip-compressed, and parses
// them. InputError when the file cannot be opened, is not valid gzip, or ends inside the header.
NiftiHeader readNiftiHeader(const std::string& path);

}  // namespace bids
