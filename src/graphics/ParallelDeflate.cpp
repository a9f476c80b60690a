#include "graphics/ParallelDeflate.h"

#include <algorithm>
#include <zlib.h>

#include "core/Exception.h"

namespace tsb {

namespace {

constexpr std::size_t WindowBytes = 32768;

std::exception_ptr OutOfMemory() {
    return std::make_exception_ptr(Exception("Not enough memory to compress the image"));
}

} // namespace

struct TParallelDeflate::TPiece {
    std::vector<std::uint8_t> Dictionary;
    std::vector<std::uint8_t> Input;
    std::size_t InputSize = 0;
    bool Last = false;
    std::vector<std::uint8_t> Output;
    std::uint32_t Adler = 1;
    bool Done = false;
    std::exception_ptr Error;
};

TParallelDeflate::TParallelDeflate(TByteSink out, const TOptions& options)
    : FOut(std::move(out)), FOptions(options) {
    int threads = FOptions.Threads;
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    FOptions.PieceBytes = std::max<std::size_t>(FOptions.PieceBytes, 1);
    // Threads the system will not start are done without; none at all is an
    // error, not a crash with the started ones left running.
    FWorkers.reserve(static_cast<std::size_t>(threads));
    try {
        for (int i = 0; i < threads; ++i)
            FWorkers.emplace_back([this] { Work(); });
    } catch (const std::exception&) {
        if (FWorkers.empty()) throw Exception("Not enough memory to compress the image");
    }
    FOptions.Threads = static_cast<int>(FWorkers.size());
}

TParallelDeflate::~TParallelDeflate() {
    {
        std::lock_guard<std::mutex> lock(FLock);
        FStop = true;
    }
    FWake.notify_all();
    for (std::thread& worker : FWorkers)
        worker.join();
}

void TParallelDeflate::Write(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        if (!FFilling) FFilling = std::make_unique<TPiece>();
        std::vector<std::uint8_t>& input = FFilling->Input;
        const std::size_t n = std::min(size, FOptions.PieceBytes - input.size());
        input.insert(input.end(), data, data + n);
        data += n;
        size -= n;
        if (input.size() >= FOptions.PieceBytes) Submit(false);
    }
}

std::uint8_t* TParallelDeflate::Append(std::size_t size) {
    if (FFilling && !FFilling->Input.empty() && FFilling->Input.size() + size > FOptions.PieceBytes)
        Submit(false);
    if (!FFilling) FFilling = std::make_unique<TPiece>();
    std::vector<std::uint8_t>& input = FFilling->Input;
    input.resize(input.size() + size);
    return input.data() + input.size() - size;
}

void TParallelDeflate::Finish() {
    Submit(true);
    Drain(0);
    const std::uint8_t trailer[4] = {std::uint8_t(FAdler >> 24), std::uint8_t(FAdler >> 16),
                                     std::uint8_t(FAdler >> 8), std::uint8_t(FAdler)};
    FOut(trailer, sizeof trailer);
}

void TParallelDeflate::Submit(bool last) {
    std::shared_ptr<TPiece> piece(FFilling ? FFilling.release() : new TPiece);
    piece->Last = last;
    piece->InputSize = piece->Input.size();
    piece->Dictionary = FHistory;
    // What the next piece may refer back to.
    const std::vector<std::uint8_t>& input = piece->Input;
    if (input.size() >= WindowBytes) {
        FHistory.assign(input.end() - WindowBytes, input.end());
    } else {
        FHistory.insert(FHistory.end(), input.begin(), input.end());
        if (FHistory.size() > WindowBytes)
            FHistory.erase(FHistory.begin(), FHistory.end() - WindowBytes);
    }
    {
        std::lock_guard<std::mutex> lock(FLock);
        FQueue.push_back(std::move(piece));
    }
    FWake.notify_one();
    Drain(static_cast<std::size_t>(FOptions.Threads) + 1);
}

void TParallelDeflate::Drain(std::size_t keep) {
    for (;;) {
        std::shared_ptr<TPiece> front;
        {
            std::unique_lock<std::mutex> lock(FLock);
            if (FQueue.empty()) return;
            if (!FQueue.front()->Done) {
                if (FQueue.size() <= keep) return;
                FDone.wait(lock, [this] { return FQueue.front()->Done; });
            }
            front = std::move(FQueue.front());
            FQueue.pop_front();
            --FNext;
        }
        if (front->Error) std::rethrow_exception(front->Error);
        if (!FStarted) {
            // Deflate with a 32 KB window; the check bits make the pair a
            // multiple of 31.
            static constexpr std::uint8_t header[2] = {0x78, 0x5E};
            FOut(header, sizeof header);
            FStarted = true;
        }
        FOut(front->Output.data(), front->Output.size());
        FAdler = static_cast<std::uint32_t>(
            adler32_combine(FAdler, front->Adler, static_cast<z_off_t>(front->InputSize)));
    }
}

void TParallelDeflate::Work() {
    for (;;) {
        std::shared_ptr<TPiece> piece;
        {
            std::unique_lock<std::mutex> lock(FLock);
            FWake.wait(lock, [this] { return FStop || FNext < FQueue.size(); });
            if (FStop) return;
            piece = FQueue[FNext++];
        }
        try {
            Compress(*piece, FOptions.Level);
        } catch (...) {
            piece->Error = OutOfMemory();
        }
        {
            std::lock_guard<std::mutex> lock(FLock);
            piece->Done = true;
        }
        FDone.notify_all();
    }
}

void TParallelDeflate::Compress(TPiece& piece, int level) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        piece.Error = OutOfMemory();
        return;
    }
    struct TEnd {
        z_stream& Z;
        ~TEnd() { deflateEnd(&Z); }
    } end{z};
    if (!piece.Dictionary.empty() &&
        deflateSetDictionary(&z, piece.Dictionary.data(),
                             static_cast<uInt>(piece.Dictionary.size())) != Z_OK) {
        piece.Error = OutOfMemory();
        return;
    }
    std::vector<std::uint8_t>& in = piece.Input;
    std::vector<std::uint8_t>& out = piece.Output;
    piece.Adler = static_cast<std::uint32_t>(adler32_z(1, in.data(), in.size()));
    // Room for the whole piece and its flush marker; grown only for a piece
    // whose input does not fit a 32-bit count.
    out.resize(deflateBound(&z, static_cast<uLong>(in.size())) + 64);
    z.next_in = in.data();
    std::size_t left = in.size();
    const int flush = piece.Last ? Z_FINISH : Z_FULL_FLUSH;
    for (;;) {
        const uInt chunk = static_cast<uInt>(std::min<std::size_t>(left, 1u << 30));
        z.avail_in = chunk;
        left -= chunk;
        const int step = left > 0 ? Z_NO_FLUSH : flush;
        int status;
        do {
            if (z.total_out + 64 > out.size()) out.resize(out.size() * 2);
            z.next_out = out.data() + z.total_out;
            z.avail_out = static_cast<uInt>(out.size() - z.total_out);
            status = deflate(&z, step);
            if (status == Z_STREAM_ERROR) {
                piece.Error = OutOfMemory();
                return;
            }
        } while (z.avail_out == 0 || (step == Z_FINISH && status != Z_STREAM_END));
        if (left == 0) break;
    }
    out.resize(z.total_out);
    in.clear();
    in.shrink_to_fit();
    piece.Dictionary.clear();
    piece.Dictionary.shrink_to_fit();
}

} // namespace tsb
