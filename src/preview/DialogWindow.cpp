#include "preview/DialogWindow.h"

#include <QGuiApplication>
#include <QScreen>

#include "widgets/Application.h"

namespace tsb {

namespace {
// The classic dialog frame: 3-pixel borders and a 19-pixel caption.
constexpr int FrameWidth = 3;
constexpr int CaptionHeight = 19;
} // namespace

TDialogWindow::TDialogWindow()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {}

void TDialogWindow::SetOuterSize(int width, int height) {
    SetClientSize(width - 2 * FrameWidth, height - 2 * FrameWidth - CaptionHeight);
}

void TDialogWindow::SetClientSize(int width, int height) {
    setFixedSize(width, height);
    Centre();
}

void TDialogWindow::Centre() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TDialogWindow::reject() {
    if (OnEscape)
        Guarded([this] { OnEscape(); });
    else
        QDialog::reject();
}

} // namespace tsb
