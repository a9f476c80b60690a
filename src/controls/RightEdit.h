// One-line entry with right-aligned text, never taller than two font heights.
#pragma once

#include <QChar>
#include <QLineEdit>
#include <functional>

namespace tsb {

class TRightEdit;

using TEditNotifyEvent = std::function<void(TRightEdit* Sender)>;
// Key is the typed character; setting it to QChar() discards the keystroke.
// Typed characters are printable ones and Backspace; keys that move or edit
// otherwise (arrows, Delete, Home, Tab, Return, Escape) and Ctrl shortcuts
// such as paste are not characters.
using TKeyPressEvent = std::function<void(TRightEdit* Sender, QChar& Key)>;

class TRightEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRightEdit(QWidget* parent = nullptr);

    // Applies the bounds; a height above twice the font's pixel height is
    // cut down to it.
    void SetBounds(int left, int top, int width, int height);

    // Runs for every typed character before the edit inserts it.
    TKeyPressEvent OnKeyPress;
    // Runs when the focus has left the edit for another control of its window.
    TEditNotifyEvent OnExit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // A typed character, before the edit inserts it. Returns false to
    // discard it. The default runs OnKeyPress.
    virtual bool KeyPress(QChar& key);
    // The focus has moved to another control of the window; runs after the
    // focus change is complete. The default runs OnExit.
    virtual void DoExit();

    // Gives the focus back to this edit and selects its text; for use once a
    // focus change has completed. The control that had the focus in between
    // sees no exit of its own.
    void TakeFocusBack();

private:
    static bool FTakingFocusBack;
};

} // namespace tsb
