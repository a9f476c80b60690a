// One zlib stream made of pieces compressed on several threads: zlib itself
// reads it back, checksum included, whatever the piece size, the number of
// threads and the way the bytes arrive.
#include <gtest/gtest.h>
#include <random>
#include <zlib.h>

#include "core/Exception.h"
#include "graphics/ParallelDeflate.h"

using namespace tsb;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Runs of repeated bytes between stretches of noise, as filtered rows of a
// drawing look.
Bytes Sample(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes data;
    while (data.size() < size) {
        const std::size_t run = random() % 3000;
        if (random() % 2)
            data.insert(data.end(), run, std::uint8_t(random()));
        else
            for (std::size_t i = 0; i < run / 10; ++i)
                data.push_back(std::uint8_t(random()));
    }
    data.resize(size);
    return data;
}

Bytes Inflate(const Bytes& stream, std::size_t size) {
    Bytes out(size + 1);
    uLongf length = static_cast<uLongf>(out.size());
    EXPECT_EQ(uncompress(out.data(), &length, stream.data(), static_cast<uLong>(stream.size())),
              Z_OK);
    out.resize(length);
    return out;
}

} // namespace

TEST(ParallelDeflate, PiecesJoinIntoOneStreamZlibReads) {
    const Bytes data = Sample(600000, 1);
    for (int threads : {1, 2, 3})
        for (std::size_t piece :
             {std::size_t(1), std::size_t(7000), std::size_t(100000), std::size_t(1) << 20}) {
            if (piece == 1 && threads > 1) continue; // a byte a piece: once is enough
            const std::size_t size = piece == 1 ? 3000 : data.size();
            Bytes stream;
            int calls = 0;
            {
                TParallelDeflate deflate(
                    [&](const std::uint8_t* p, std::size_t n) {
                        stream.insert(stream.end(), p, p + n);
                        ++calls;
                    },
                    {3, threads, piece});
                // Bytes in uneven writes, and some written in place.
                std::size_t at = 0;
                for (std::size_t step = 1; at < size; step = step * 3 % 9973 + 1) {
                    const std::size_t n = std::min(step, size - at);
                    if (step % 2) {
                        deflate.Write(data.data() + at, n);
                    } else {
                        std::copy_n(data.data() + at, n, deflate.Append(n));
                    }
                    at += n;
                }
                deflate.Finish();
            }
            EXPECT_EQ(Inflate(stream, size), Bytes(data.begin(), data.begin() + size))
                << threads << " threads, pieces of " << piece;
            if (piece < size) {
                EXPECT_GT(calls, 3); // handed on as pieces complete
            }
        }
}

TEST(ParallelDeflate, EmptyStreamAndFailingOutput) {
    Bytes stream;
    {
        TParallelDeflate deflate(
            [&](const std::uint8_t* p, std::size_t n) { stream.insert(stream.end(), p, p + n); },
            {});
        deflate.Finish();
    }
    EXPECT_TRUE(Inflate(stream, 0).empty());

    // The output's error comes out of the call that handed the bytes on, and
    // the workers still stop cleanly.
    const Bytes data = Sample(300000, 2);
    TParallelDeflate failing(
        [](const std::uint8_t*, std::size_t) { throw Exception("Stream write error"); },
        {3, 2, 10000});
    EXPECT_THROW(
        {
            failing.Write(data.data(), data.size());
            failing.Finish();
        },
        Exception);
}
