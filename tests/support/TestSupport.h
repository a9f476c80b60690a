// Helpers shared by the test executables.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QObject;

namespace tsbtest {

// Routes the application's default exception handler into a list, so a test
// can assert on the messages a user would have seen.
void InstallTestEnvironment();
std::vector<std::string>& ShownErrors();

// Runs f on the next turn of the event loop; used to answer modal dialogs.
void OnNextModal(std::function<void()> f);

// The bytes of a file; none where it cannot be read.
QByteArray ReadFile(const QString& path);

// The name a screen reader reads for an object; empty where it has none.
QString AccessibleName(QObject* object);

// Pixel of an RGB32 image as 0xRRGGBB.
inline unsigned Px(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}

} // namespace tsbtest

class QWidget;

namespace tsbtest {

// Real mouse events sent to a widget, with the buttons held during moves.
void MousePress(QWidget* w, int x, int y, int button = 1, int modifiers = 0);
void MouseRelease(QWidget* w, int x, int y, int button = 1, int modifiers = 0);
void MouseMove(QWidget* w, int x, int y, int buttons = 0, int modifiers = 0);
void MouseDoubleClick(QWidget* w, int x, int y, int button = 1);
// Press, move in steps and release with the left button.
void Drag(QWidget* w, int x1, int y1, int x2, int y2, int modifiers = 0);

} // namespace tsbtest
