// Where an encoder hands its bytes as it makes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tsb {

// Receives the encoded bytes in order. A sink may throw; the encoder then
// fails with that exception.
using TByteSink = std::function<void(const std::uint8_t* data, std::size_t size)>;

} // namespace tsb
