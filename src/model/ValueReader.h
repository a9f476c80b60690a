// The value reader of the component stream: tags, integers, strings and
// identifiers, and skipping values a property does not take. It trusts no
// count or length in its input.
//
// Tags 0-19 are all understood; a value of a kind the property cannot take
// (reals, collections, lists, a wrong tag) raises "Invalid property value".
// Properties the tables declare as ignored accept any value and skip it, with
// lists and collections nested at most 32 deep. Bytes above 19 where a value
// tag belongs raise "Invalid property value"; running out of input, a length
// or count beyond the input, a record inside an element record and deeper
// nesting raise "Stream read error".
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/Exception.h"
#include "model/StreamFormat.h"

namespace tsb {

// "Stream read error", "Invalid stream format": the input is not a stream that
// can be followed. Property errors are plain exceptions, wrapped as
// "Error reading %s%s%s: %s".
class EReadError : public Exception {
public:
    using Exception::Exception;
};

class TValueReader {
public:
    explicit TValueReader(std::span<const std::uint8_t> data);
    virtual ~TValueReader() = default;
    TValueReader(const TValueReader&) = delete;
    TValueReader& operator=(const TValueReader&) = delete;

    // Reads "TPF0"; raises "Invalid stream format" otherwise.
    void ReadSignature();
    std::size_t Position() const { return FPos; }
    bool AtEnd() const { return FPos >= FData.size(); }

    // The values.
    TValueType ReadValue();
    TValueType NextValue() const;
    bool EndOfList() const { return NextValue() == vaNull; }
    void ReadListEnd();
    std::int64_t ReadInteger();
    // A short string without tag, Windows-1252 converted to UTF-8.
    std::string ReadStr();
    // The text of an identifier value: Ident, or the bare tags False, True,
    // nil, Null.
    std::string ReadIdent();
    // String, LString (Windows-1252) or WString (UTF-16), as UTF-8.
    std::string ReadString();
    void SkipValue();

protected:
    std::size_t Remaining() const { return FData.size() - FPos; }
    bool ReadIntPayload(TValueType type, std::int64_t& value);
    std::string IdentText(TValueType type);
    std::uint8_t ReadByte();
    const std::uint8_t* ReadBytes(std::size_t n);
    std::uint32_t ReadUInt32();
    [[noreturn]] static void ReadError();
    void SkipValue(int depth);
    void SkipProperties(int depth);

private:
    std::span<const std::uint8_t> FData;
    std::size_t FPos = 0;
};

} // namespace tsb
