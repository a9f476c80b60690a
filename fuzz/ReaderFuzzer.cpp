// Feeds arbitrary bytes to the diagram reader: as a file replacing the
// elements of a work area, or, when the input starts with "TPF0", as the
// clipboard form added to it. What a successful read writes must read back,
// and from then on stay the same bytes; what it holds is then painted.
#include <cstring>

#include "DiagramFuzz.h"

using namespace tsb;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    tsbfuzz::StartDiagrams(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TDiagramRoot root;
    tsbfuzz::AddExisting(root);
    TDiagramStream::TReadOptions options;
    options.Signature = size >= 4 && std::memcmp(data, "TPF0", 4) == 0;
    options.Replace = !options.Signature;
    try {
        TDiagramStream::Read(std::span<const std::uint8_t>(data, size), root.ScrollBox1, options);
    } catch (const std::exception&) {
        return 0;
    }
    tsbfuzz::CheckWrittenStream(root.ScrollBox1);
    tsbfuzz::PaintWorkArea(root.ScrollBox1);
    return 0;
}
