#include "editor/Program.h"

#include <QApplication>
#include <QIcon>
#include <memory>

#include "editor/ConnDlg.h"
#include "editor/MainForm.h"
#include "graphics/Font.h"
#include "tresselby/Version.h"
#include "widgets/Application.h"

namespace tsb {

namespace {

// The installed theme's icon where there is one, else our own copies.
QIcon ProgramIcon() {
    QIcon own;
    for (int size : {16, 32, 48, 64, 128, 256})
        own.addFile(QString(":/desktop/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId));
    return QIcon::fromTheme(AppId, own);
}

} // namespace

TProgram::TProgram(const std::string& fileName, const std::function<void()>& createConnDialog) {
    QApplication::setApplicationName("Tresselby Diagram Tool");
    QApplication::setApplicationVersion(VersionString);
    // Ties the windows to the launcher, whose name is the program's id.
    QGuiApplication::setDesktopFileName(AppId);
    QApplication::setWindowIcon(ProgramIcon());
    QApplication::setFont(TFont().ToQFont());
    Application().Title = "Tresselby Application";
    auto mainForm = std::make_unique<TMainForm>();
    if (createConnDialog)
        createConnDialog();
    else
        ConnDialog();
    FMainForm = mainForm.release();
    FMainForm->Show();
    if (!fileName.empty()) Guarded([&] { FMainForm->OpenFile(fileName); });
}

TProgram::~TProgram() {
    delete FMainForm;
    FreeConnDialog();
}

} // namespace tsb
