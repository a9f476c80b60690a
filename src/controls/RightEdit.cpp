#include "controls/RightEdit.h"

#include <QFocusEvent>
#include <QFontInfo>
#include <QKeyEvent>
#include <cstdlib>

#include "widgets/Application.h"

namespace tsb {

bool TRightEdit::FTakingFocusBack = false;

namespace {

// The character a key press types into the edit, or a null character for keys
// that edit or move (arrows, Delete, Home, Tab, Return, Escape) and for
// Ctrl shortcuts such as copy and paste. Ctrl with Alt is AltGr, which types.
QChar TypedCharacter(const QKeyEvent* event) {
    if (event->text().isEmpty()) return {};
    Qt::KeyboardModifiers mods = event->modifiers();
    bool altGr = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier);
    if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) && !altGr) return {};
    QChar c = event->text().at(0);
    if (c == QChar('\b')) return c;
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) return {};
    return c;
}

} // namespace

TRightEdit::TRightEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TRightEdit::SetBounds(int left, int top, int width, int height) {
    int fontHeight = font().pixelSize();
    if (fontHeight <= 0) fontHeight = QFontInfo(font()).pixelSize();
    int limit = 2 * std::abs(fontHeight);
    if (limit < height) height = limit;
    setGeometry(left, top, width, height);
}

void TRightEdit::keyPressEvent(QKeyEvent* event) {
    QChar key = TypedCharacter(event);
    if (key.isNull()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    bool pass = false;
    Guarded([&] { pass = KeyPress(key); });
    if (pass)
        QLineEdit::keyPressEvent(event);
    else
        event->accept();
}

bool TRightEdit::KeyPress(QChar& key) {
    if (OnKeyPress) OnKeyPress(this, key);
    return !key.isNull();
}

void TRightEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Leaving the window or opening a menu is no exit from the control.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (FTakingFocusBack) return;
    // Let the focus change finish first: the exit check may take the focus
    // back or show a message box, neither of which Qt allows safely in the
    // middle of moving the focus.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus() || !isVisible()) return;
            Guarded([this] { DoExit(); });
        },
        Qt::QueuedConnection);
}

void TRightEdit::DoExit() {
    if (OnExit) OnExit(this);
}

void TRightEdit::TakeFocusBack() {
    FTakingFocusBack = true;
    setFocus(Qt::OtherFocusReason);
    FTakingFocusBack = false;
    selectAll();
}

} // namespace tsb
