// The from-to list of a diagram's connectors, as an electrician wires from
// it: one row per connector in z-order, with the elements at both ends, the
// line's look and the net it belongs to; written as CSV for spreadsheets.
#pragma once

#include <string>
#include <vector>

#include "core/ClassInfo.h"

namespace tsb {

class TWinControl;

class TWiringList {
public:
    struct TRow {
        std::string Connector; // its name, or W1, W2, ... for unnamed ones
        std::string Kind;      // "Line", "One-way arrow", ...
        std::string Head;      // arrow style; empty for a line
        std::string From, FromText, FromSide;
        std::string To, ToText, ToSide;
        std::string Colour; // #RRGGBB
        int Width = 1;
        std::string Style; // "Solid", "Dash", ...
        std::string Net;   // N1, N2, ... in order of first appearance
    };

    // The rows of the container's connectors, in child order.
    explicit TWiringList(const TWinControl* container);
    const std::vector<TRow>& Rows() const { return FRows; }

    // The header row and one row per connector: RFC 4180 quoting, UTF-8
    // with a byte-order mark, CR LF after every row.
    TBytes Csv() const;
    // Writes the CSV beside the target and renames it over the target once
    // complete ("Cannot create file %s", "Stream write error").
    void SaveToFile(const std::string& fileName) const;

private:
    std::vector<TRow> FRows;
};

} // namespace tsb
