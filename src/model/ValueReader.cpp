#include "model/ValueReader.h"

#include "core/TextEncoding.h"

namespace tsb {

namespace {

constexpr int kMaxNesting = 32;

[[noreturn]] void InvalidValue() {
    throw Exception("Invalid property value");
}

} // namespace

TValueReader::TValueReader(std::span<const std::uint8_t> data) : FData(data) {}

void TValueReader::ReadError() {
    throw EReadError("Stream read error");
}

std::uint8_t TValueReader::ReadByte() {
    if (FPos >= FData.size()) ReadError();
    return FData[FPos++];
}

const std::uint8_t* TValueReader::ReadBytes(std::size_t n) {
    if (n > Remaining()) ReadError();
    const std::uint8_t* p = FData.data() + FPos;
    FPos += n;
    return p;
}

std::uint32_t TValueReader::ReadUInt32() {
    const std::uint8_t* p = ReadBytes(4);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

TValueType TValueReader::ReadValue() {
    return static_cast<TValueType>(ReadByte());
}

TValueType TValueReader::NextValue() const {
    if (FPos >= FData.size()) ReadError();
    return static_cast<TValueType>(FData[FPos]);
}

void TValueReader::ReadListEnd() {
    if (ReadValue() != vaNull) ReadError();
}

bool TValueReader::ReadIntPayload(TValueType type, std::int64_t& value) {
    switch (type) {
    case vaInt8:
        value = static_cast<std::int8_t>(ReadByte());
        return true;
    case vaInt16: {
        const std::uint8_t* p = ReadBytes(2);
        value = static_cast<std::int16_t>(std::uint16_t(p[0] | p[1] << 8));
        return true;
    }
    case vaInt32:
        value = static_cast<std::int32_t>(ReadUInt32());
        return true;
    case vaInt64: {
        std::uint64_t lo = ReadUInt32();
        std::uint64_t hi = ReadUInt32();
        value = static_cast<std::int64_t>(lo | hi << 32);
        return true;
    }
    default:
        return false;
    }
}

std::int64_t TValueReader::ReadInteger() {
    std::int64_t value = 0;
    if (!ReadIntPayload(ReadValue(), value)) InvalidValue();
    return value;
}

std::string TValueReader::ReadStr() {
    std::size_t n = ReadByte();
    const std::uint8_t* p = ReadBytes(n);
    std::string_view bytes(reinterpret_cast<const char*>(p), n);
    for (std::uint8_t b : bytes)
        if (b >= 0x80) return Cp1252ToUtf8(bytes);
    return std::string(bytes);
}

std::string TValueReader::IdentText(TValueType type) {
    switch (type) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        InvalidValue();
    }
}

std::string TValueReader::ReadIdent() {
    return IdentText(ReadValue());
}

std::string TValueReader::ReadString() {
    switch (ReadValue()) {
    case vaString: {
        std::size_t n = ReadByte();
        const std::uint8_t* p = ReadBytes(n);
        return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
    }
    case vaLString: {
        std::size_t n = ReadUInt32();
        const std::uint8_t* p = ReadBytes(n);
        return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
    }
    case vaWString: {
        std::size_t n = ReadUInt32();
        if (n > Remaining() / 2) ReadError();
        const std::uint8_t* p = ReadBytes(n * 2);
        std::u16string units(n, u'\0');
        for (std::size_t i = 0; i < n; ++i)
            units[i] = static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8);
        return Utf16ToUtf8(units);
    }
    default:
        InvalidValue();
    }
}

void TValueReader::SkipValue() {
    SkipValue(0);
}

void TValueReader::SkipValue(int depth) {
    if (depth > kMaxNesting) ReadError();
    TValueType type = ReadValue();
    switch (type) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        return;
    case vaList:
        while (!EndOfList())
            SkipValue(depth + 1);
        ReadListEnd();
        return;
    case vaInt8:
        ReadBytes(1);
        return;
    case vaInt16:
        ReadBytes(2);
        return;
    case vaInt32:
    case vaSingle:
        ReadBytes(4);
        return;
    case vaInt64:
    case vaCurrency:
    case vaDate:
        ReadBytes(8);
        return;
    case vaExtended:
        ReadBytes(10);
        return;
    case vaString:
    case vaIdent:
        ReadBytes(ReadByte());
        return;
    case vaBinary:
    case vaLString:
        ReadBytes(ReadUInt32());
        return;
    case vaWString: {
        std::size_t n = ReadUInt32();
        if (n > Remaining() / 2) ReadError();
        ReadBytes(n * 2);
        return;
    }
    case vaSet:
        while (std::size_t n = ReadByte())
            ReadBytes(n);
        return;
    case vaCollection:
        while (!EndOfList()) {
            TValueType next = NextValue();
            if (next == vaInt8 || next == vaInt16 || next == vaInt32) SkipValue(depth + 1);
            if (ReadValue() != vaList) ReadError();
            SkipProperties(depth + 1);
        }
        ReadListEnd();
        return;
    default:
        InvalidValue();
    }
}

void TValueReader::SkipProperties(int depth) {
    if (depth > kMaxNesting) ReadError();
    while (!EndOfList()) {
        ReadBytes(ReadByte());
        SkipValue(depth + 1);
    }
    ReadListEnd();
}

void TValueReader::ReadSignature() {
    const std::uint8_t* p = ReadBytes(sizeof StreamSignature);
    for (std::size_t i = 0; i < sizeof StreamSignature; ++i)
        if (p[i] != StreamSignature[i]) throw EReadError("Invalid stream format");
}

} // namespace tsb
