// Values of the component stream on bytes: integer sizes, strings and their
// encodings, identifiers, and how the reader guards against lengths and tags.
#include <gtest/gtest.h>

#include "StreamTestUtil.h"
#include "model/Reader.h"
#include "model/Writer.h"

using namespace tsb;
using tsbtest::Hex;
using tsbtest::TStreamBytes;

namespace {

TBytes Written(const std::function<void(TWriter&)>& f) {
    TBytes out;
    TWriter w(out);
    f(w);
    return out;
}

std::string ReadError(const TBytes& bytes, const std::function<void(TReader&)>& f) {
    TReader r(bytes);
    try {
        f(r);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(StreamValues, IntegersTakeTheSmallestEncodingAtEachBoundary) {
    struct Case {
        std::int64_t Value;
        std::string Bytes;
    } cases[] = {
        {0, "02 00 "},
        {127, "02 7F "},
        {128, "03 80 00 "},
        {-128, "02 80 "},
        {-129, "03 7F FF "},
        {32767, "03 FF 7F "},
        {-32768, "03 00 80 "},
        {32768, "04 00 80 00 00 "},
        {-32769, "04 FF 7F FF FF "},
        {2147483647, "04 FF FF FF 7F "},
        {-2147483648LL, "04 00 00 00 80 "},
        {2147483648LL, "13 00 00 00 80 00 00 00 00 "},
    };
    for (const Case& c : cases) {
        TBytes bytes = Written([&](TWriter& w) { w.WriteInteger(c.Value); });
        EXPECT_EQ(Hex(bytes), c.Bytes) << c.Value;
        TReader r(bytes);
        EXPECT_EQ(r.ReadInteger(), c.Value);
        EXPECT_TRUE(r.AtEnd());
    }
}

TEST(StreamValues, BooleansAndReservedIdentifiersAreBareTags) {
    EXPECT_EQ(Hex(Written([](TWriter& w) {
                  w.WriteBoolean(false);
                  w.WriteBoolean(true);
                  w.WriteIdent("FALSE");
                  w.WriteIdent("true");
                  w.WriteIdent("Nil");
                  w.WriteIdent("null");
                  w.WriteIdent("Nullish");
              })),
              "08 09 08 09 0D 00 07 07 4E 75 6C 6C 69 73 68 ");
    TBytes idents = TStreamBytes().Raw({8, 9, 13, 0}).Ident("alTop");
    TReader r(idents);
    EXPECT_EQ(r.ReadIdent(), "False");
    EXPECT_EQ(r.ReadIdent(), "True");
    EXPECT_EQ(r.ReadIdent(), "nil");
    EXPECT_EQ(r.ReadIdent(), "Null");
    EXPECT_EQ(r.ReadIdent(), "alTop");
}

TEST(StreamValues, ShortStringsAreCutAt255Bytes) {
    std::string name(300, 'N');
    TBytes bytes = Written([&](TWriter& w) { w.WriteStr(name); });
    ASSERT_EQ(bytes.size(), 256u);
    EXPECT_EQ(bytes[0], 255);
    TReader r(bytes);
    EXPECT_EQ(r.ReadStr(), std::string(255, 'N'));
}

TEST(StreamValues, StringValuesChooseStringLStringOrWString) {
    // Up to 255 bytes: String; 256 and more: LString with a 32-bit length.
    TBytes s255 = Written([](TWriter& w) { w.WriteString(std::string(255, 'a')); });
    EXPECT_EQ(s255[0], vaString);
    EXPECT_EQ(s255[1], 255);
    TBytes s300 = Written([](TWriter& w) { w.WriteString(std::string(300, 'a')); });
    ASSERT_EQ(s300.size(), 1u + 4u + 300u);
    EXPECT_EQ(Hex(TBytes(s300.begin(), s300.begin() + 5)), "0C 2C 01 00 00 ");
    TReader r(s300);
    EXPECT_EQ(r.ReadString(), std::string(300, 'a'));

    // Text Windows-1252 can hold stays 8-bit, byte for byte.
    EXPECT_EQ(Hex(Written([](TWriter& w) { w.WriteString("Caf\xC3\xA9 \xE2\x82\xAC"); })),
              "06 06 43 61 66 E9 20 80 ");

    // Anything else is written as UTF-16 code units, surrogate pairs included.
    EXPECT_EQ(Hex(Written([](TWriter& w) { w.WriteString("\xCE\xA9\xF0\x9F\x98\x80"); })),
              "12 03 00 00 00 A9 03 3D D8 00 DE ");
}

TEST(StreamValues, EightBitStringsReadAsWindows1252) {
    // 0x80 euro, 0x93/0x94 quotes, 0xE9 e acute; 0x81 has no character and
    // comes back as U+0081, so the same byte is written again.
    TBytes bytes = TStreamBytes().Raw({6, 5, 0x80, 0x93, 0x94, 0xE9, 0x81});
    TReader r(bytes);
    std::string text = r.ReadString();
    EXPECT_EQ(text, "\xE2\x82\xAC\xE2\x80\x9C\xE2\x80\x9D\xC3\xA9\xC2\x81");
    EXPECT_EQ(Hex(Written([&](TWriter& w) { w.WriteString(text); })), "06 05 80 93 94 E9 81 ");
}

TEST(StreamValues, LengthsBeyondTheInputAreReadErrors) {
    struct Case {
        const char* What;
        TBytes Bytes;
    } cases[] = {
        {"short string", TStreamBytes().Raw({6, 10, 'a', 'b'})},
        {"long string", TStreamBytes().Raw({12}).U32(0xFFFFFFFF).Raw({'a'})},
        {"wide string", TStreamBytes().Raw({18}).U32(0x80000000).Raw({'a', 0})},
        {"wide string, odd bytes left", TStreamBytes().Raw({18}).U32(2).Raw({'a', 0, 'b'})},
        {"empty input", TBytes()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadError(c.Bytes, [](TReader& r) { r.ReadString(); }), "Stream read error")
            << c.What;
    EXPECT_EQ(ReadError(TStreamBytes().Raw({4, 1, 2}), [](TReader& r) { r.ReadInteger(); }),
              "Stream read error");
    EXPECT_EQ(ReadError(TStreamBytes().Raw({10}).U32(1u << 31), [](TReader& r) { r.SkipValue(); }),
              "Stream read error");
}

TEST(StreamValues, SkipValueFollowsEveryTag) {
    // One value of each tag, then a marker byte that must be next.
    TStreamBytes b;
    b.Raw({0, 1, 2, 5, 0, 0, 8, 9, 0}); // Null; List of Int8 5, Null, False, True
    b.Raw({2, 1}).Raw({3, 1, 2}).Raw({4, 1, 2, 3, 4});
    b.Raw({5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}); // Extended, 10 bytes
    b.String("s").Ident("i").Raw({8, 9});
    b.Raw({10}).U32(3).Raw({1, 2, 3});                             // Binary
    b.Raw({11}).Str("fsBold").Str("");                             // Set
    b.Raw({12}).U32(2).Raw({'a', 'b'});                            // LString
    b.Raw({13});                                                   // Nil
    b.Raw({14, 2, 0, 1}).Str("P").Int8(1).Raw({0, 1}).Raw({0, 0}); // Collection of two items
    b.Raw({15, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 17, 0, 0, 0, 0, 0, 0, 0, 0});
    b.Raw({18}).U32(1).Raw({'w', 0});    // WString
    b.Raw({19, 0, 0, 0, 0, 0, 0, 0, 0}); // Int64
    b.Raw({0x7E});
    TReader r(b);
    int values = 0;
    while (r.NextValue() != 0x7E) {
        r.SkipValue();
        ++values;
    }
    EXPECT_EQ(values, 24);
    EXPECT_EQ(ReadError(TStreamBytes().Raw({20}), [](TReader& rr) { rr.SkipValue(); }),
              "Invalid property value");
}

TEST(StreamValues, NestingIsLimited) {
    TStreamBytes deep;
    for (int i = 0; i < 40; ++i)
        deep.Raw({1});
    for (int i = 0; i < 40; ++i)
        deep.Raw({0});
    EXPECT_EQ(ReadError(deep, [](TReader& r) { r.SkipValue(); }), "Stream read error");
    TStreamBytes fine;
    for (int i = 0; i < 20; ++i)
        fine.Raw({1});
    for (int i = 0; i < 20; ++i)
        fine.Raw({0});
    EXPECT_EQ(ReadError(fine, [](TReader& r) { r.SkipValue(); }), "");
}
