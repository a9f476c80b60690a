// Feeds arbitrary bytes to paste, as the private clipboard block, into a work
// area that already holds elements: a paste that fails leaves the work area
// as it was; one that succeeds gives each element a name of its own, and the
// result writes, reads back and paints.
#include <set>
#include <string>

#include "DiagramFuzz.h"
#include "model/PasteNames.h"

using namespace tsb;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    tsbfuzz::StartDiagrams(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TDiagramRoot root;
    tsbfuzz::AddExisting(root);
    const int components = root.ComponentCount(), children = root.ScrollBox1->ControlCount();
    TPasteNames paste;
    try {
        paste.Read(std::span<const std::uint8_t>(data, size), root.ScrollBox1);
    } catch (const std::exception&) {
        if (root.ComponentCount() != components || root.ScrollBox1->ControlCount() != children)
            tsbfuzz::Fail("a failed paste changed the work area");
        return 0;
    }
    std::set<std::string> fresh;
    for (const auto& [old, name] : paste.Pairs()) {
        if (!fresh.insert(name).second) tsbfuzz::Fail("two pasted elements got one name");
        if (!root.FindComponent(name)) tsbfuzz::Fail("a pasted element lost its new name");
    }
    tsbfuzz::CheckWrittenStream(root.ScrollBox1);
    tsbfuzz::PaintWorkArea(root.ScrollBox1);
    return 0;
}
