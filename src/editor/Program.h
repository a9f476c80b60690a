// The running editor as the program entry makes it: the application's
// title, font and icon, the main window and the connection dialog, and the
// diagram named on the command line opened at start.
#pragma once

#include <functional>
#include <string>

namespace tsb {

class TMainForm;

class TProgram {
public:
    // Needs the application object. Shows the main window, then opens
    // `fileName` (when not empty) as the Open command does; a file that
    // cannot be opened is reported by the application's default exception
    // handler and leaves the empty diagram. `createConnDialog` makes the
    // connection dialog (tests put a failing one in its place); when it
    // fails, the main window goes again and the error is raised.
    explicit TProgram(const std::string& fileName = {},
                      const std::function<void()>& createConnDialog = {});
    // Frees the main window and the connection dialog.
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    TMainForm* MainForm() const { return FMainForm; }

private:
    TMainForm* FMainForm = nullptr;
};

} // namespace tsb
