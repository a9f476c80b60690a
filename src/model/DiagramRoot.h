// A plain owner for a work area read without the main window (the converter,
// tests): it publishes the work area's handler names, ScrollBox1MouseDown and
// ScrollBox1MouseMove, as handlers that do nothing, so a diagram that names
// them reads the same as in the editor.
#pragma once

#include <any>
#include <vector>

#include "core/ClassInfo.h"
#include "widgets/Control.h"
#include "widgets/ScrollBox.h"

namespace tsb {

class TScrollBox;

// The two handlers a work area's owner publishes, bound to an owner of class
// T, for its class table.
template <typename T> std::vector<TMethodInfo> WorkAreaHandlers() {
    return {{"ScrollBox1MouseDown",
             [](TComponent* self) -> std::any {
                 auto* owner = static_cast<T*>(self);
                 return TMouseEvent([owner](TComponent* s, TMouseButton b, TShiftState sh, int x,
                                            int y) { owner->ScrollBox1MouseDown(s, b, sh, x, y); },
                                    "ScrollBox1MouseDown");
             }},
            {"ScrollBox1MouseMove", [](TComponent* self) -> std::any {
                 auto* owner = static_cast<T*>(self);
                 return TMouseMoveEvent([owner](TComponent* s, TShiftState sh, int x,
                                                int y) { owner->ScrollBox1MouseMove(s, sh, x, y); },
                                        "ScrollBox1MouseMove");
             }}};
}

// A work area named ScrollBox1, owned by `owner` and set up as the editor
// sets up its own: hint, colours, scrolling and the owner's two handlers.
template <typename T> TScrollBox* CreateWorkArea(T* owner) {
    auto* box = new TScrollBox(owner);
    box->SetName("ScrollBox1");
    box->Hint = "Work area";
    box->AutoScroll = false;
    box->BorderStyle = bsNone;
    box->Color = clWindow;
    box->ParentColor = false;
    box->TabOrder = 0;
    std::vector<TMethodInfo> handlers = WorkAreaHandlers<T>();
    box->OnMouseDown = std::any_cast<TMouseEvent>(handlers[0].Bind(owner));
    box->OnMouseMove = std::any_cast<TMouseMoveEvent>(handlers[1].Bind(owner));
    return box;
}

class TDiagramRoot : public TComponent {
    TSB_CLASS(TDiagramRoot)
public:
    TDiagramRoot();

    // The work area, named ScrollBox1 and set up as the editor sets up its
    // own (page 800 x 600 at 40, 30; hint, colours, scrolling, handlers).
    TScrollBox* ScrollBox1 = nullptr;

    void ScrollBox1MouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x,
                             int y);
    void ScrollBox1MouseMove(TComponent* sender, TShiftState shift, int x, int y);

    static const TClassInfo& StaticClassInfo();
};

} // namespace tsb
