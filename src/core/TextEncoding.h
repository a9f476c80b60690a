// Conversions between the model's UTF-8 text and the stream's encodings:
// Windows-1252 for 8-bit strings, UTF-16 for wide strings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tsb {

// The Windows-1252 bytes of a UTF-8 text; nullopt when a character has no
// Windows-1252 code. Bytes that are not valid UTF-8 count as such characters.
// The five codes Windows-1252 leaves undefined stand for U+0081, U+008D,
// U+008F, U+0090 and U+009D, so every byte string converts back unchanged.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view bytes);

// Invalid UTF-8 and unpaired surrogates become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

} // namespace tsb
