// Finding a text among the work area's texts: its captions and text
// elements (every TTextShape), in child order, and replacing it in them.
#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <vector>

namespace tsb {

class TTextShape;
class TWinControl;

class TDiagramSearch {
public:
    // `text` is UTF-8; without `matchCase` letters match in either case.
    TDiagramSearch(const std::string& text, bool matchCase);

    // Nothing to find: nothing matches.
    bool Empty() const { return FText.empty(); }
    bool Matches(const std::string& text) const;
    // `text` with every occurrence replaced by `with`, left to right; what
    // an earlier replacement put in is never searched again. `count` gets
    // the number of occurrences replaced.
    std::string Replaced(const std::string& text, const std::string& with,
                         std::size_t& count) const;

    // The first matching text of the area in child order from the child at
    // `start` on, wrapping around to the back; none when nothing matches.
    TTextShape* Next(const TWinControl* area, std::size_t start) const;
    // Every matching text of the area, in child order.
    std::vector<TTextShape*> All(const TWinControl* area) const;

    // The place after the front-most selected element in the area's child
    // list, where a search goes on; 0 when nothing is selected.
    static std::size_t AfterSelection(const TWinControl* area);
    // The front-most selected text of the area, when it matches.
    TTextShape* SelectedMatch(const TWinControl* area) const;

private:
    // The first occurrence in `text` from `from` on, or -1.
    qsizetype IndexIn(const QString& text, qsizetype from) const;

    std::string FText;
    QString FQText;
    bool FMatchCase;
    bool FAscii;
};

} // namespace tsb
