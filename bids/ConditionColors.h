#pragma once

// The fixed palette that conditions take their colours from, in condition order, the same in a
// protocol and in a design matrix made from the same events.

#include <cstddef>
#include <cstdint>

namespace bids {

// 0xRRGGBB of condition `index` (from 0); the palette repeats after its last colour.
std::int32_t conditionColor(std::size_t index);

// The colour of the condition that covers the time between events.
inline constexpr std::int32_t kFixationColor = 0x646464;

}  // namespace bids
