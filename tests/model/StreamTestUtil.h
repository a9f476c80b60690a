// Helpers of the stream tests: hand-made byte streams and golden files.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "core/ClassInfo.h"

namespace tsbtest {

using tsb::TBytes;

// Builds stream bytes value by value, independently of the writer.
struct TStreamBytes {
    TBytes Bytes;

    TStreamBytes& Raw(std::initializer_list<int> bytes) {
        for (int b : bytes)
            Bytes.push_back(static_cast<std::uint8_t>(b));
        return *this;
    }
    // A short string: length byte and the bytes as given.
    TStreamBytes& Str(const std::string& s) {
        Bytes.push_back(static_cast<std::uint8_t>(s.size()));
        Bytes.insert(Bytes.end(), s.begin(), s.end());
        return *this;
    }
    TStreamBytes& Int8(int v) { return Raw({2, v & 0xFF}); }
    TStreamBytes& Int16(int v) { return Raw({3, v & 0xFF, (v >> 8) & 0xFF}); }
    // An integer in the smallest of Int8, Int16, Int32.
    TStreamBytes& Int(int v) {
        if (v >= -128 && v <= 127) return Int8(v);
        if (v >= -32768 && v <= 32767) return Int16(v);
        return Raw({4}).U32(static_cast<std::uint32_t>(v));
    }
    TStreamBytes& U32(std::uint32_t v) {
        return Raw({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)});
    }
    TStreamBytes& Ident(const std::string& s) { return Raw({7}).Str(s); }
    TStreamBytes& String(const std::string& s) { return Raw({6}).Str(s); }
    TStreamBytes& End() { return Raw({0}); }
    // Record head of the work area as files have it (unnamed).
    TStreamBytes& WorkArea() { return Str("TScrollBox").Str(""); }
    operator const TBytes&() const { return Bytes; }
    operator std::span<const std::uint8_t>() const { return Bytes; }
};

inline TBytes ReadData(const std::string& name) {
    std::ifstream in(std::string(TRESSELBY_TEST_DATA) + "/" + name, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string Hex(const TBytes& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
        out += ' ';
    }
    return out;
}

} // namespace tsbtest
