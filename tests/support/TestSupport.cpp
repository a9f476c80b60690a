#include "TestSupport.h"

#include <QAccessible>
#include <QFile>
#include <QTimer>

#include "widgets/Application.h"

namespace tsbtest {

std::vector<std::string>& ShownErrors() {
    static std::vector<std::string> errors;
    return errors;
}

void InstallTestEnvironment() {
    tsb::Application().OnException = [](const std::string& m) { ShownErrors().push_back(m); };
}

void OnNextModal(std::function<void()> f) {
    QTimer::singleShot(0, std::move(f));
}

QString AccessibleName(QObject* object) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(object);
    return a ? a->text(QAccessible::Name) : QString();
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

} // namespace tsbtest

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace tsbtest {

namespace {
void Send(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button,
          Qt::MouseButtons buttons, int modifiers) {
    QPointF local(x, y);
    QPointF global = w->mapToGlobal(QPoint(x, y));
    QMouseEvent e(type, local, local, global, button, buttons, Qt::KeyboardModifiers(modifiers));
    QApplication::sendEvent(w, &e);
}
} // namespace

void MousePress(QWidget* w, int x, int y, int button, int modifiers) {
    auto b = Qt::MouseButton(button);
    Send(w, QEvent::MouseButtonPress, x, y, b, b, modifiers);
}

void MouseRelease(QWidget* w, int x, int y, int button, int modifiers) {
    Send(w, QEvent::MouseButtonRelease, x, y, Qt::MouseButton(button), Qt::NoButton, modifiers);
}

void MouseMove(QWidget* w, int x, int y, int buttons, int modifiers) {
    Send(w, QEvent::MouseMove, x, y, Qt::NoButton, Qt::MouseButtons(buttons), modifiers);
}

void MouseDoubleClick(QWidget* w, int x, int y, int button) {
    auto b = Qt::MouseButton(button);
    Send(w, QEvent::MouseButtonPress, x, y, b, b, 0);
    Send(w, QEvent::MouseButtonRelease, x, y, b, Qt::NoButton, 0);
    Send(w, QEvent::MouseButtonDblClick, x, y, b, b, 0);
    Send(w, QEvent::MouseButtonRelease, x, y, b, Qt::NoButton, 0);
}

void Drag(QWidget* w, int x1, int y1, int x2, int y2, int modifiers) {
    MousePress(w, x1, y1, Qt::LeftButton, modifiers);
    const int steps = 4;
    for (int i = 1; i <= steps; ++i)
        MouseMove(w, x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps, Qt::LeftButton,
                  modifiers);
    MouseRelease(w, x2, y2, Qt::LeftButton, modifiers);
}

} // namespace tsbtest
