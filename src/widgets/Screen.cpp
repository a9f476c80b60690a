#include "widgets/Screen.h"

#include <QGuiApplication>
#include <QPixmap>

#include "widgets/Resources.h"

namespace tsb {

TScreen& TScreen::Instance() {
    static TScreen screen;
    return screen;
}

static Qt::CursorShape StandardShape(TCursor number) {
    switch (number) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

QCursor TScreen::Cursor(TCursor number) const {
    auto it = FCursors.find(number);
    if (it != FCursors.end()) return it->second;
    return QCursor(StandardShape(number));
}

void TScreen::SetCursorImage(TCursor number, const QCursor& cursor) {
    FCursors[number] = cursor;
}

bool TScreen::HasCursor(TCursor number) const {
    return number <= 0 || FCursors.count(number);
}

QCursor TScreen::LoadCursorResource(const std::string& name, int hotX, int hotY) {
    InitResources();
    QPixmap pixmap(QString(":/cursors/%1.png").arg(QString::fromStdString(name)));
    if (pixmap.isNull()) return QCursor(Qt::OpenHandCursor);
    return QCursor(pixmap, hotX, hotY);
}

void TScreen::SetOverrideCursor(TCursor number) {
    if (number == FOverrideCursor) return;
    if (FOverrideCursor != crDefault && QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    FOverrideCursor = number;
    if (number != crDefault) QGuiApplication::setOverrideCursor(Cursor(number));
}

} // namespace tsb
