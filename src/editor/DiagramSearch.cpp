#include "editor/DiagramSearch.h"

#include <algorithm>

#include "core/Exception.h"
#include "model/CustomShape.h"
#include "model/TextShape.h"

namespace tsb {

namespace {

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

TDiagramSearch::TDiagramSearch(const std::string& text, bool matchCase)
    : FText(text), FQText(QString::fromStdString(text)), FMatchCase(matchCase),
      FAscii(IsAscii(text)) {}

qsizetype TDiagramSearch::IndexIn(const QString& text, qsizetype from) const {
    return text.indexOf(FQText, from, FMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

bool TDiagramSearch::Matches(const std::string& text) const {
    if (Empty()) return false;
    // UTF-8 finds a text in its bytes, and ASCII in either case too; other
    // letters need their characters' cases.
    if (FMatchCase) return text.find(FText) != std::string::npos;
    if (FAscii && IsAscii(text)) {
        auto same = [](char a, char b) { return LowerCaseAscii(a) == LowerCaseAscii(b); };
        return std::search(text.begin(), text.end(), FText.begin(), FText.end(), same) !=
               text.end();
    }
    return IndexIn(QString::fromStdString(text), 0) >= 0;
}

std::string TDiagramSearch::Replaced(const std::string& text, const std::string& with,
                                     std::size_t& count) const {
    count = 0;
    if (Empty()) return text;
    const QString source = QString::fromStdString(text);
    const QString replacement = QString::fromStdString(with);
    QString out;
    qsizetype done = 0;
    for (qsizetype at = IndexIn(source, 0); at >= 0; at = IndexIn(source, done)) {
        out += QStringView(source).mid(done, at - done);
        out += replacement;
        done = at + FQText.size();
        ++count;
    }
    if (count == 0) return text;
    out += QStringView(source).mid(done);
    return out.toStdString();
}

TTextShape* TDiagramSearch::Next(const TWinControl* area, std::size_t start) const {
    if (Empty()) return nullptr;
    const std::vector<TControl*>& list = area->ControlList();
    const std::size_t n = list.size();
    for (std::size_t i = 0; i < n; ++i) {
        auto* text = As<TTextShape>(list[(start + i) % n]);
        if (text && Matches(text->Text())) return text;
    }
    return nullptr;
}

std::vector<TTextShape*> TDiagramSearch::All(const TWinControl* area) const {
    std::vector<TTextShape*> out;
    if (Empty()) return out;
    for (TControl* c : area->ControlList())
        if (auto* text = As<TTextShape>(c); text && Matches(text->Text())) out.push_back(text);
    return out;
}

std::size_t TDiagramSearch::AfterSelection(const TWinControl* area) {
    const std::vector<TControl*>& list = area->ControlList();
    for (std::size_t i = list.size(); i-- > 0;)
        if (auto* shape = As<TCustomShape>(list[i]); shape && shape->Selected()) return i + 1;
    return 0;
}

TTextShape* TDiagramSearch::SelectedMatch(const TWinControl* area) const {
    const std::vector<TControl*>& list = area->ControlList();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (auto* text = As<TTextShape>(*it); text && text->Selected())
            return Matches(text->Text()) ? text : nullptr;
    return nullptr;
}

} // namespace tsb
