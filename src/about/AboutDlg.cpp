#include "about/AboutDlg.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <memory>

#include "about/qmAboutBox.h"
#include "core/Exception.h"
#include "tresselby/Version.h"

namespace tsb {

TAboutDlg::TAboutDlg(TComponent* owner) : TComponent(owner) {}

std::string TAboutDlg::VersionText() {
    return VersionString;
}

std::string TAboutDlg::NameLine(const std::string& title, const std::string& version) {
    return FormatMessage("%s version %s", {title, version});
}

std::string TAboutDlg::TimeStampText(const QDateTime& time) {
    // The time is formatted with its date, so a zone in the long format is
    // the one in force on that day.
    QLocale locale;
    QString text = locale.toString(time.date(), QLocale::ShortFormat) + ' ' +
                   locale.toString(time, locale.timeFormat(QLocale::LongFormat));
    return text.toStdString();
}

QDateTime TAboutDlg::BuildTime() {
    return QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
}

bool TAboutDlg::Execute() {
    // Freed on every path, also when showing it fails.
    auto box = std::make_unique<TqmAboutBox>();
    box->ProductName->setText(QString::fromStdString(NameLine(Title, VersionText())));
    box->Copyright->setText(QString::fromStdString(Copyright));
    box->TimeStamp->setText(QString::fromStdString(TimeStampText(BuildTime())));
    box->WebPage->setText(QString::fromStdString(WebPage));
    box->WebPage->adjustSize();
    return box->ShowModal() == QDialog::Accepted;
}

} // namespace tsb
