// A work area with elements, outside any window, and a summary of its state
// that shows whether a failed read changed anything.
#pragma once

#include <memory>
#include <sstream>
#include <string>

#include "model/DiagramRoot.h"
#include "model/ModelClasses.h"
#include "model/TextShape.h"
#include "widgets/ScrollBox.h"

namespace tsbtest {

struct TDiagram {
    std::unique_ptr<tsb::TDiagramRoot> Root;
    tsb::TScrollBox* Box;

    TDiagram() {
        tsb::RegisterModelClasses();
        Root = std::make_unique<tsb::TDiagramRoot>();
        Box = Root->ScrollBox1;
    }

    tsb::TTextShape* AddText(const std::string& name, const std::string& text, int left, int top) {
        auto* t = new tsb::TTextShape(Root.get());
        t->SetName(name);
        t->SetLeft(left);
        t->SetTop(top);
        t->SetParent(Box);
        t->SetText(text);
        return t;
    }

    // Everything a read could change, as text.
    std::string State() const {
        std::ostringstream s;
        s << "box " << Box->Name() << ' ' << Box->Left() << ',' << Box->Top() << ' ' << Box->Width()
          << 'x' << Box->Height() << " hint=" << Box->Hint << " color=" << Box->Color
          << " align=" << int(Box->Align()) << " auto=" << Box->AutoScroll
          << " border=" << int(Box->BorderStyle) << " down=" << Box->OnMouseDown.Name
          << " move=" << Box->OnMouseMove.Name << '\n';
        s << "components";
        for (tsb::TComponent* c : Root->Components())
            s << ' ' << c->ClassName() << ':' << c->Name();
        s << '\n';
        for (tsb::TControl* c : Box->ControlList()) {
            s << c->ClassName() << ' ' << c->Name() << ' ' << c->Left() << ',' << c->Top() << ' '
              << c->Width() << 'x' << c->Height();
            if (auto* shape = dynamic_cast<tsb::TCustomShape*>(c)) {
                s << " sel=" << shape->Selected()
                  << " caption=" << (shape->Caption() ? shape->Caption()->Name() : "-");
            }
            if (auto* text = dynamic_cast<tsb::TTextShape*>(c)) s << " text=" << text->Text();
            s << '\n';
        }
        return s.str();
    }
};

} // namespace tsbtest
