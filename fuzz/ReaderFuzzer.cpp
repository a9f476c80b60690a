// Feeds arbitrary bytes to the diagram reader: as a file replacing the
// elements of a work area, or, when the input starts with "TPF0", as the
// clipboard form added to it. What a successful read writes must read back,
// and from then on stay the same bytes: a work area that starts fresh takes
// the written stream to the same state.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/DiagramRoot.h"
#include "model/DiagramStream.h"
#include "model/ModelClasses.h"
#include "model/TextShape.h"
#include "widgets/ScrollBox.h"

using namespace tsb;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QApplication app(*argc, *argv);
    RegisterModelClasses();
    return 0;
}

namespace {

// A work area holding what a user may have on screen: an element with a
// caption whose names the stream may reuse or refer to.
void AddExisting(TDiagramRoot& root) {
    auto* shape = new TTextShape(&root);
    shape->SetName("StandardShape1");
    shape->SetParent(root.ScrollBox1);
    shape->SetText("old");
    auto* caption = new TTextShape(&root);
    caption->SetName("StandardShape1_Caption");
    shape->SetCaption(caption);
}

[[noreturn]] void Fail(const char* what, const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", what, e.what());
    std::abort();
}

// Reads a written stream into a fresh work area and writes that again.
TBytes ReadBackAndWrite(const TBytes& bytes) {
    TDiagramRoot fresh;
    try {
        TDiagramStream::Read(bytes, fresh.ScrollBox1);
    } catch (const std::exception& e) {
        Fail("a written stream does not read back", e);
    }
    TCustomShape::SelectAll(fresh.ScrollBox1);
    return TDiagramStream::Write(fresh.ScrollBox1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TDiagramRoot root;
    AddExisting(root);
    TDiagramStream::TReadOptions options;
    options.Signature = size >= 4 && std::memcmp(data, "TPF0", 4) == 0;
    options.Replace = !options.Signature;
    try {
        TDiagramStream::Read(std::span<const std::uint8_t>(data, size), root.ScrollBox1, options);
    } catch (const std::exception&) {
        return 0;
    }
    TCustomShape::SelectAll(root.ScrollBox1);
    TBytes first = TDiagramStream::Write(root.ScrollBox1);
    TBytes second = ReadBackAndWrite(first);
    if (ReadBackAndWrite(second) != second) {
        std::fprintf(stderr, "a written stream reads back to other bytes\n");
        std::abort();
    }
    return 0;
}
