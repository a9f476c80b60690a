#include "editor/ProgressWindow.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tsb {

TProgressWindow::TProgressWindow(QWidget* owner, const QString& action)
    : FOwner(owner), FAction(action) {
    FClock.start();
}

TProgressWindow::~TProgressWindow() = default;

void TProgressWindow::Show() {
    FWindow = std::make_unique<QDialog>(FOwner);
    QDialog* w = FWindow.get();
    w->setObjectName("ProgressWindow");
    w->setWindowTitle(FAction);
    w->setAccessibleName(FAction);
    w->setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(w);
    auto* label = new QLabel(FAction, w);
    label->setObjectName("ProgressLabel");
    label->setAccessibleName(FAction);
    FBar = new QProgressBar(w);
    FBar->setObjectName("ProgressBar");
    FBar->setRange(0, 1000);
    FBar->setMinimumWidth(320);
    FBar->setAccessibleName("Progress");
    FBar->setAccessibleDescription(FAction);
    auto* cancel = new QPushButton("Cancel", w);
    cancel->setObjectName("CancelBtn");
    cancel->setAccessibleName("Cancel");
    layout->addWidget(label);
    layout->addWidget(FBar);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    // Closing the window stops the work too.
    QObject::connect(cancel, &QPushButton::clicked, w, [this] { FCancelled = true; });
    QObject::connect(w, &QDialog::rejected, w, [this] { FCancelled = true; });
    w->show();
}

void TProgressWindow::Step(std::int64_t done, std::int64_t total) {
    if (FCancelled) throw ECancelled();
    // The clock is read once a thousandth of the work at most.
    if (total > 0 && done < total && done >= FCheckedAt && done - FCheckedAt < total / 1000) return;
    FCheckedAt = done;
    const qint64 now = FClock.elapsed();
    if (now < ShowAfterMs || now - FUpdatedAt < UpdateMs) return;
    FUpdatedAt = now;
    if (!FWindow) Show();
    FBar->setValue(total > 0 ? static_cast<int>(std::min(done, total) * 1000 / total) : 0);
    // Repaints the main window and lets the Cancel button be pressed.
    QCoreApplication::processEvents();
    if (FCancelled) throw ECancelled();
}

} // namespace tsb
