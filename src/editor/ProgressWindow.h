// The window long work shows in the editor (export, open, save, paste,
// building printed pages): what is being done, a progress bar and a Cancel
// button. It appears only once the work has lasted half a second. While it
// shows, the main window keeps repainting and takes no input; Cancel stops
// the work at its next step with ECancelled.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

#include "core/Progress.h"

class QDialog;
class QProgressBar;
class QWidget;

namespace tsb {

class TProgressWindow : public TProgress {
public:
    static constexpr int ShowAfterMs = 500;
    // Steps this far apart at most reach the window.
    static constexpr int UpdateMs = 50;

    // `action` is what the window says is being done ("Exporting plan.png").
    TProgressWindow(QWidget* owner, const QString& action);
    ~TProgressWindow() override;
    TProgressWindow(const TProgressWindow&) = delete;
    TProgressWindow& operator=(const TProgressWindow&) = delete;

    void Step(std::int64_t done, std::int64_t total) override;
    // The window, once it shows; null before.
    QDialog* Window() const { return FWindow.get(); }

private:
    void Show();

    QWidget* FOwner;
    QString FAction;
    QElapsedTimer FClock;
    qint64 FUpdatedAt = 0;
    std::int64_t FCheckedAt = 0;
    std::unique_ptr<QDialog> FWindow;
    QProgressBar* FBar = nullptr;
    bool FCancelled = false;
};

} // namespace tsb
