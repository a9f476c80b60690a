// The numbered cursor table and the application-wide cursor override.
#pragma once

#include <QCursor>
#include <map>
#include <string>

#include "core/Types.h"

namespace tsb {

class TScreen {
public:
    static TScreen& Instance();

    // Standard cursors have numbers 0 and below; the program's own from 1 up.
    QCursor Cursor(TCursor number) const;
    void SetCursorImage(TCursor number, const QCursor& cursor);
    bool HasCursor(TCursor number) const;

    // Loads a cursor resource of the program by name (":/cursors/NAME.png"),
    // hot spot at the top-left corner or at the given point.
    static QCursor LoadCursorResource(const std::string& name, int hotX = 0, int hotY = 0);

    // Application-wide override; crDefault lifts it.
    TCursor OverrideCursor() const { return FOverrideCursor; }
    void SetOverrideCursor(TCursor number);

private:
    std::map<TCursor, QCursor> FCursors;
    TCursor FOverrideCursor = crDefault;
};

inline TScreen& Screen() {
    return TScreen::Instance();
}

} // namespace tsb
