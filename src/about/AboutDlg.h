// The about component: holds the texts of the about box and shows it.
#pragma once

#include <QDateTime>
#include <string>

#include "core/Component.h"

namespace tsb {

class TAboutDlg : public TComponent {
    TSB_CLASS(TAboutDlg)
public:
    explicit TAboutDlg(TComponent* owner);

    // The product's name, shown before its version.
    std::string Title;
    std::string Copyright = "1996";
    std::string WebPage = DefaultWebPage;

    // Shows the about box and waits for it to close; true when it was closed
    // with its OK button.
    bool Execute();

    static constexpr const char* DefaultWebPage = "https://tresselby.example.org/";

    // Texts of the box. The version is the program's own, four numbers
    // joined by "."; an empty version leaves "<title> version ".
    static std::string VersionText();
    static std::string NameLine(const std::string& title, const std::string& version);
    // The locale's short date and long time.
    static std::string TimeStampText(const QDateTime& time);
    // The last-modified time of the running program's file.
    static QDateTime BuildTime();
};

} // namespace tsb
