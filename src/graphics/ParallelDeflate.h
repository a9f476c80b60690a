// One zlib stream compressed in pieces on worker threads. Each piece is
// deflated on its own, primed with the 32 KB that came before it, and ends
// at a full flush, so the pieces joined in order are one valid stream; the
// checksum is combined from the pieces'. Memory stays at a few pieces
// whatever the length of the stream.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "graphics/ByteSink.h"

namespace tsb {

class TParallelDeflate {
public:
    struct TOptions {
        int Level = 3;
        // Worker threads; 0 for one per core.
        int Threads = 0;
        // Bytes of input per piece.
        std::size_t PieceBytes = std::size_t(1) << 20;
    };

    // The compressed stream goes to out, in order, on the calling thread:
    // from Write as pieces complete, and from Finish.
    TParallelDeflate(TByteSink out, const TOptions& options);
    ~TParallelDeflate();
    TParallelDeflate(const TParallelDeflate&) = delete;
    TParallelDeflate& operator=(const TParallelDeflate&) = delete;

    // Appends bytes to the stream. Raises what out raised, or a failure of
    // zlib ("Not enough memory to compress the image").
    void Write(const std::uint8_t* data, std::size_t size);
    // A buffer of `size` bytes at the end of the stream for the caller to
    // fill; it is taken as written.
    std::uint8_t* Append(std::size_t size);
    // Compresses the rest and ends the stream with its checksum.
    void Finish();

private:
    struct TPiece;
    void Submit(bool last);
    void Work();
    // Hands on finished pieces from the front; waits for the front piece
    // while more than `keep` are under way.
    void Drain(std::size_t keep);
    static void Compress(TPiece& piece, int level);

    TByteSink FOut;
    TOptions FOptions;
    std::unique_ptr<TPiece> FFilling;
    std::vector<std::uint8_t> FHistory; // the last 32 KB before FFilling
    std::uint32_t FAdler = 1;
    bool FStarted = false;

    std::mutex FLock;
    std::condition_variable FWake;
    std::condition_variable FDone;
    std::deque<std::shared_ptr<TPiece>> FQueue; // in stream order
    std::size_t FNext = 0;                      // first piece no worker took
    bool FStop = false;
    std::vector<std::thread> FWorkers;
};

} // namespace tsb
