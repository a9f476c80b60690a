#include "widgets/Application.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QWidget>

#include "core/ScopeExit.h"
#include "widgets/WinControl.h"

namespace tsb {

TApplication& TApplication::Instance() {
    static TApplication app;
    return app;
}

void TApplication::HandleException(const std::exception& e) {
    HandleException(std::string(e.what()));
}

void TApplication::HandleException(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    if (OnException) {
        OnException(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(Title),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void TApplication::HandleExceptionLater(const std::string& message) {
    if (!qApp) {
        HandleException(message);
        return;
    }
    if (FReportPending) return;
    FReportPending = true;
    QMetaObject::invokeMethod(
        qApp,
        [this, message] {
            TScopeExit done([this] { FReportPending = false; });
            HandleException(message);
        },
        Qt::QueuedConnection);
}

void TApplication::Beep() {
    ++BeepCount;
    QApplication::beep();
}

void TApplication::SetHint(const std::string& hint) {
    if (hint == FHint) return;
    FHint = hint;
    if (OnHint) OnHint(FHint);
}

namespace {
class THintFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() != QEvent::Enter && ev->type() != QEvent::MouseMove) return false;
        auto* w = qobject_cast<QWidget*>(obj);
        if (!w || dynamic_cast<TControlHost*>(w)) return false;
        for (QWidget* p = w; p; p = p->parentWidget()) {
            QVariant hint = p->property("hint");
            if (hint.isValid()) {
                Application().SetHint(hint.toString().toStdString());
                break;
            }
        }
        return false;
    }
};
} // namespace

void TApplication::InstallHintTracking() {
    static THintFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new THintFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

std::string TApplication::ExeFolder() {
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith('/')) dir += '/';
    return dir.toStdString();
}

} // namespace tsb
