#include "UndoSupport.h"

#include "editor/MainForm.h"
#include "model/CustomShape.h"
#include "model/DiagramStream.h"

using namespace tsb;

namespace tsbtest {

TBytes SavedBytes(TMainForm* form) {
    TCustomShape::SelectAll(form->ScrollBox1);
    TBytes bytes = TDiagramStream::Write(form->ScrollBox1);
    TCustomShape::UnselectAll(form->ScrollBox1);
    return bytes;
}

} // namespace tsbtest
