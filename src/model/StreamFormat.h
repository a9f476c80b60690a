// The tags of the component stream's values and the signature of its
// clipboard form, shared by the writer and the readers.
#pragma once

#include <cstdint>

namespace tsb {

// Value tags.
enum TValueType : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
};

// The four bytes "TPF0" that start the clipboard form.
inline constexpr std::uint8_t StreamSignature[4] = {'T', 'P', 'F', '0'};

} // namespace tsb
