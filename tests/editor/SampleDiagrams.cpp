#include "SampleDiagrams.h"

using namespace tsb;

namespace tsbtest {

std::vector<TConnector*> AddEveryKind(TMainForm* form) {
    TStandardShape* standard[5];
    const TShapeType types[5] = {stRectangle, stRoundRect, stEllipse, stCircle, stSquare};
    const TPoint places[5] = {{40, 40}, {260, 40}, {480, 40}, {40, 240}, {260, 420}};
    for (int i = 0; i < 5; ++i) {
        standard[i] = AddElement<TStandardShape>(form, places[i].X, places[i].Y);
        standard[i]->SetShapeType(types[i]);
    }
    AddCaption(form, standard[1], "Caption", alClient);
    standard[4]->SetSelected(true);
    auto* polygon = AddElement<TRegularPolygonShape>(form, 260, 240);
    polygon->SetSides(5);
    auto* hidden = AddElement<THiddenShape>(form, 520, 260);
    hidden->SetSelected(true);
    auto* text = AddElement<TTextShape>(form, 480, 420);
    text->SetText("Free text");
    auto* list = new TImageList(form);
    QImage icon(16, 16, QImage::Format_RGB32);
    icon.fill(QColor(255, 0, 255));
    for (int i = 2; i < 14; ++i)
        icon.setPixel(i, i, qRgb(0, 128, 0));
    list->AddMasked(icon, clFuchsia);
    auto* bitmap = AddElement<TBitmapShape>(form, 60, 440);
    bitmap->SetImages(list);
    auto* graphic = AddElement<TGraphicShape>(form, 640, 120);
    graphic->SetImage(form->Image1->Picture());
    AddCaption(form, graphic, "New Graphic", alBottom);
    graphic->SetSelected(true);
    auto* thumb = AddElement<TThumbNailShape>(form, 640, 400);
    thumb->SetImage(graphic->Image());
    AddCaption(form, thumb, "", alTop);
    thumb->SetImageName("Images/DefaultPicture.jpg");
    thumb->PlaceCaption(); // as the end of a drag does once the text is longer

    auto* half = JoinElements<TSingleHeadArrow>(form, standard[1], csRight, standard[2], csLeft);
    half->SetArrowStyle(asHalf);
    auto* open = JoinElements<TSingleHeadArrow>(form, standard[0], csBottom, standard[3], csTop);
    open->SetArrowStyle(asOpen);
    auto* closed = JoinElements<TSingleHeadArrow>(form, standard[3], csRight, polygon, csLeft);
    closed->SetArrowStyle(asClosed);
    auto* both = JoinElements<TDoubleHeadArrow>(form, polygon, csBottom, standard[4], csTop);
    both->LineColor = clBlue;
    both->SetLineWidth(2);
    auto* dotted = JoinElements<TLineConnector>(form, standard[3], csBottom, bitmap, csTop);
    dotted->LineStyle = psDot;
    return {JoinElements<TLineConnector>(form, standard[0], csRight, standard[1], csLeft),
            half,
            open,
            closed,
            both,
            dotted,
            JoinElements<TSingleHeadArrow>(form, polygon, csRight, hidden, csLeft),
            JoinElements<TBluntSingleHeadArrow>(form, standard[2], csBottom, hidden, csTop),
            JoinElements<TDoubleHeadArrow>(form, hidden, csBottom, text, csTop),
            JoinElements<TLineConnector>(form, standard[4], csRight, text, csLeft),
            JoinElements<TSingleHeadArrow>(form, standard[2], csRight, graphic, csLeft),
            JoinElements<TDoubleHeadArrow>(form, graphic, csBottom, thumb, csTop)};
}

void AddConnectorWidthsAndStyles(TMainForm* form) {
    const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot};
    const int widths[] = {1, 2, 3, 5};
    const TArrowStyle arrows[] = {asHalf, asOpen, asClosed, asFilled};
    const TColor colours[] = {clBlack, clRed, clBlue, clGreen};
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 5; ++col) {
            auto* a = AddElement<TStandardShape>(form, 20 + 150 * col, 20 + 140 * row);
            a->SetBounds(a->Left(), a->Top(), 40, 30);
            auto* b = AddElement<THiddenShape>(form, 110 + 150 * col, 90 + 140 * row);
            TSingleHeadArrow* arrow =
                (row + col) % 2 ? JoinElements<TDoubleHeadArrow>(form, a, csRight, b, csTop)
                                : JoinElements<TSingleHeadArrow>(form, a, csBottom, b, csLeft);
            arrow->LineStyle = styles[col];
            arrow->SetLineWidth(widths[row]);
            arrow->SetArrowStyle(arrows[(row + col) % 4]);
            arrow->LineColor = colours[col % 4];
            arrow->Invalidate();
        }
    }
}

void AddTexts(TMainForm* form) {
    auto* plain = AddElement<TTextShape>(form, 20, 20);
    plain->SetText("Pump station\r\nStage 2");
    auto* bold = AddElement<TTextShape>(form, 200, 20);
    TFont font = bold->Font();
    font.SetStyle(fsBold);
    font.SetHeight(-16);
    bold->SetFont(font);
    bold->SetText("Main valve");
    auto* serif = AddElement<TTextShape>(form, 20, 120);
    font = serif->Font();
    font.SetName("Times New Roman");
    font.SetHeight(-13);
    font.SetColor(clMaroon);
    serif->SetFont(font);
    serif->SetText("Cooling water (return)");
    auto* shape = AddElement<TStandardShape>(form, 300, 120);
    shape->SetShapeType(stRoundRect);
    AddCaption(form, shape, "Caption", alClient);
    auto* wrapped = AddElement<TTextShape>(form, 20, 220);
    wrapped->SetAutosize(false);
    wrapped->SetText("A long text that wraps at the edge of its element");
    wrapped->SetBounds(20, 220, 120, 60);
    wrapped->SetSelected(true);
}

} // namespace tsbtest
