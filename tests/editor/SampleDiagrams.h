// Diagrams the output tests draw: every element kind joined by every
// connector kind, connectors at several widths and styles, and texts.
#pragma once

#include <QImage>

#include "editor/MainForm.h"
#include "graphics/ImageList.h"
#include "graphics/Picture.h"
#include "model/BitmapShape.h"
#include "model/Connector.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/RegularPolygonShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "widgets/Image.h"

namespace tsbtest {

// An element made in code on the form's work area, named as the editor
// names it.
template <typename T> T* AddElement(tsb::TMainForm* form, int left, int top) {
    auto* e = new T(form);
    e->SetName(form->MakeElementName(e));
    e->SetBounds(left, top, e->Width(), e->Height());
    e->SetParent(form->ScrollBox1);
    return e;
}

// A connector made in code, as the editor makes it.
template <typename T>
T* JoinElements(tsb::TMainForm* form, tsb::TCustomShape* a, tsb::TConnectionSide sa,
                tsb::TCustomShape* b, tsb::TConnectionSide sb) {
    auto* c = new T(form);
    c->StartConn().Side = sa;
    c->StartConn().SetShape(a);
    c->EndConn().Side = sb;
    c->EndConn().SetShape(b);
    c->UpdateBounds();
    c->SetParent(form->ScrollBox1);
    return c;
}

inline void AddCaption(tsb::TMainForm* form, tsb::TCustomShape* e, const char* text,
                       tsb::TAlign align) {
    auto* c = new tsb::TTextShape(form);
    c->SetName(form->MakeElementName(c));
    c->SetText(text);
    e->SetCaptionAlign(align);
    e->SetCaption(c);
}

// Every element kind, some selected, joined by every connector kind; the
// connectors it made, in order.
std::vector<tsb::TConnector*> AddEveryKind(tsb::TMainForm* form);

// Shapes joined by connectors of widths 1, 2, 3 and 5 in every pen style,
// with every arrow style.
void AddConnectorWidthsAndStyles(tsb::TMainForm* form);

// Texts: several lines, bold and large fonts, another face, and captions.
void AddTexts(tsb::TMainForm* form);

} // namespace tsbtest
