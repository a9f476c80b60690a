// What the diagram fuzz targets (reader and paste) share: a work area as a
// user may have it, the written stream read back, and the work area painted
// around its top-left corner and around its front-most element.
#pragma once

#include <QApplication>

#include "FuzzSupport.h"
#include "model/CustomShape.h"
#include "model/DiagramRoot.h"
#include "model/DiagramStream.h"
#include "model/ModelClasses.h"
#include "model/TextShape.h"
#include "widgets/ScrollBox.h"

namespace tsbfuzz {

inline void StartDiagrams(int* argc, char*** argv) {
    StartApplication<QApplication>(argc, argv);
    tsb::RegisterModelClasses();
}

// An element with a caption whose names a stream may reuse or refer to.
inline void AddExisting(tsb::TDiagramRoot& root) {
    auto* shape = new tsb::TTextShape(&root);
    shape->SetName("StandardShape1");
    shape->SetParent(root.ScrollBox1);
    shape->SetText("old");
    auto* caption = new tsb::TTextShape(&root);
    caption->SetName("StandardShape1_Caption");
    shape->SetCaption(caption);
}

// Reads a written stream into a fresh work area and writes that again.
inline tsb::TBytes ReadBackAndWrite(const tsb::TBytes& bytes) {
    tsb::TDiagramRoot fresh;
    try {
        tsb::TDiagramStream::Read(bytes, fresh.ScrollBox1);
    } catch (const std::exception& e) {
        Fail("a written stream does not read back", e);
    }
    tsb::TCustomShape::SelectAll(fresh.ScrollBox1);
    return tsb::TDiagramStream::Write(fresh.ScrollBox1);
}

// What a successful read holds must write, read back, and from then on stay
// the same bytes.
inline void CheckWrittenStream(tsb::TWinControl* area) {
    tsb::TCustomShape::SelectAll(area);
    tsb::TBytes first = tsb::TDiagramStream::Write(area);
    tsb::TBytes second = ReadBackAndWrite(first);
    if (ReadBackAndWrite(second) != second) Fail("a written stream reads back to other bytes");
}

// Paints the work area at its top-left corner and around its front-most
// element, selected (with its handles) and not.
inline void PaintWorkArea(tsb::TWinControl* area) {
    auto paint = [area](const tsb::TCanvas& canvas, int x, int y) { area->PaintTo(canvas, x, y); };
    PaintViews(0, 0, paint);
    const auto& children = area->ControlList();
    if (children.size() < 2) return; // the grid alone
    const tsb::TControl* front = children.back();
    PaintViews(front->Left() - 8, front->Top() - 8, paint);
    tsb::TCustomShape::UnselectAll(area);
    PaintViews(front->Left() + front->Width() - ViewWidth / 2,
               front->Top() + front->Height() - ViewHeight / 2, paint);
}

} // namespace tsbfuzz
