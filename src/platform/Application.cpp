#include "platform/Application.h"

#include <QApplication>
#include <QMessageBox>

namespace tsb {

TApplication& TApplication::Instance() {
    static TApplication app;
    return app;
}

void TApplication::HandleException(const std::exception& e) { HandleException(std::string(e.what())); }

void TApplication::HandleException(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    if (OnException) {
        OnException(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(Title),
                    QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void TApplication::Beep() {
    ++BeepCount;
    QApplication::beep();
}

void TApplication::SetHint(const std::string& hint) {
    if (hint == FHint)
        return;
    FHint = hint;
    if (OnHint)
        OnHint(FHint);
}

std::string TApplication::ExeFolder() {
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith('/'))
        dir += '/';
    return dir.toStdString();
}

std::string FormatMessage(const std::string& format, std::initializer_list<std::string> args) {
    std::string out;
    auto it = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            if (it != args.end())
                out += *it++;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

} // namespace tsb
