// A tool-bar button that screen readers and automation press as a mouse
// click does: its accessible "Press" (and, when it can be checked, "Toggle")
// action clicks it, so a check button is toggled and its clicked handler
// runs. Qt's own tool buttons only flip their check state for "Toggle".
// The click follows from the event loop, as a mouse click does.
#pragma once

#include <QToolButton>

namespace tsb {

class TToolButton : public QToolButton {
public:
    explicit TToolButton(QWidget* parent = nullptr);
};

} // namespace tsb
