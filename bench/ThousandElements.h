// The main window with 1,000 elements on an 800 x 1600 page, the diagram the
// clipboard and printing benchmarks work on.
#pragma once

#include "editor/MainForm.h"

namespace tsb {

// 500 standard shapes with their captions: 1,000 elements, all selected.
inline void PopulateThousand(TMainForm& form) {
    form.P800x1600ActionExecute();
    for (int i = 0; i < 500; ++i) {
        form.ShapeBtnClick();
        form.ScrollBox1MouseDown(form.ScrollBox1, mbLeft, 0, 20 + (i % 5) * 150, 20 + (i / 5) * 15);
    }
    form.SelectAll();
}

} // namespace tsb
