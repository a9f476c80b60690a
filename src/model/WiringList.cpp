#include "model/WiringList.h"

#include <unordered_map>
#include <unordered_set>

#include "core/FileStream.h"
#include "core/TextEncoding.h"
#include "model/Connector.h"
#include "model/HiddenShape.h"
#include "model/TextShape.h"

namespace tsb {

namespace {

const char* const kHeader =
    "Connector,Kind,Head,From,From text,From side,To,To text,To side,Colour,Width,Style,Net";

const char* KindOf(const TConnector& c) {
    if (Is<const TDoubleHeadArrow>(&c)) return "Two-way arrow";
    if (Is<const TBluntSingleHeadArrow>(&c)) return "Blunt one-way arrow";
    if (Is<const TSingleHeadArrow>(&c)) return "One-way arrow";
    return "Line";
}

const char* HeadOf(const TConnector& c) {
    static const char* const kHeads[] = {"Half", "Open", "Closed", "Filled"};
    auto* arrow = As<const TSingleHeadArrow>(&c);
    return arrow && arrow->ArrowStyle() <= asFilled ? kHeads[arrow->ArrowStyle()] : "";
}

const char* StyleOf(TPenStyle style) {
    static const char* const kStyles[] = {"Solid",        "Dash",  "Dot",         "Dash-dot",
                                          "Dash-dot-dot", "Clear", "Inside frame"};
    return style <= psInsideFrame ? kStyles[style] : "";
}

const char* SideOf(TConnectionSide side) {
    static const char* const kSides[] = {"Left", "Right", "Top", "Bottom"};
    return side <= csBottom ? kSides[side] : "";
}

// The caption's text, or a text element's own, its lines joined by a space
// (a carriage return before a line feed belongs to the line end).
std::string ElementText(const TCustomShape* element) {
    const TTextShape* text = element->Caption();
    if (!text) text = As<const TTextShape>(element);
    if (!text) return {};
    std::string out;
    const std::string& s = text->Text();
    std::size_t start = 0;
    for (;;) {
        std::size_t end = s.find('\n', start);
        std::size_t stop = end == std::string::npos ? s.size() : end;
        std::size_t length = stop - start;
        if (end != std::string::npos && length > 0 && s[stop - 1] == '\r') --length;
        out.append(s, start, length);
        if (end == std::string::npos) break;
        out += ' ';
        start = end + 1;
    }
    return out;
}

std::string Numbered(char letter, std::size_t n) {
    std::string out(1, letter);
    return out.append(std::to_string(n));
}

// A field as RFC 4180 has it: quoted, with its quotes doubled, when it holds
// a comma, a quote or a line break.
void AppendField(std::string& out, const std::string& field) {
    // Only valid UTF-8 goes out, as the byte-order mark promises.
    const std::string text = Utf16ToUtf8(Utf8ToUtf16(field));
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// Connectors that meet at a junction are in one net: a union-find over the
// connectors and the junctions they touch.
class TNets {
public:
    int Add() {
        FParent.push_back(static_cast<int>(FParent.size()));
        return FParent.back();
    }
    int Junction(const TCustomShape* junction) {
        auto [it, added] = FJunctions.try_emplace(junction, 0);
        if (added) it->second = Add();
        return it->second;
    }
    int Find(int i) {
        while (FParent[i] != i)
            i = FParent[i] = FParent[FParent[i]];
        return i;
    }
    void Join(int a, int b) { FParent[Find(a)] = Find(b); }

private:
    std::vector<int> FParent;
    std::unordered_map<const TCustomShape*, int> FJunctions;
};

} // namespace

TWiringList::TWiringList(const TWinControl* container) {
    std::vector<const TConnector*> connectors;
    for (const TControl* c : container->ControlList())
        if (auto* connector = As<const TConnector>(c)) connectors.push_back(connector);

    TNets nets;
    std::vector<int> nodes;
    std::unordered_set<std::string> names;
    for (const TConnector* c : connectors) {
        int node = nets.Add();
        nodes.push_back(node);
        for (const TConnection* end : {&c->StartConn(), &c->EndConn()})
            if (Is<const THiddenShape>(end->Shape())) nets.Join(node, nets.Junction(end->Shape()));
        if (!c->Name().empty()) names.insert(c->Name());
    }

    std::unordered_map<int, std::string> netNames;
    int unnamed = 0;
    FRows.reserve(connectors.size());
    for (std::size_t i = 0; i < connectors.size(); ++i) {
        const TConnector& c = *connectors[i];
        TRow row;
        row.Connector = c.Name();
        // Unnamed connectors are numbered past the names others carry.
        while (row.Connector.empty() || (c.Name().empty() && names.count(row.Connector)))
            row.Connector = Numbered('W', ++unnamed);
        row.Kind = KindOf(c);
        row.Head = HeadOf(c);
        auto fill = [](const TConnection& end, std::string& name, std::string& text,
                       std::string& side) {
            if (!end.Shape()) return;
            name = end.Shape()->Name();
            text = ElementText(end.Shape());
            side = SideOf(end.Side);
        };
        fill(c.StartConn(), row.From, row.FromText, row.FromSide);
        fill(c.EndConn(), row.To, row.ToText, row.ToSide);
        row.Colour = ColorToHex(c.LineColor);
        row.Width = c.LineWidth();
        row.Style = StyleOf(c.LineStyle);
        auto [net, added] = netNames.try_emplace(nets.Find(nodes[i]));
        if (added) net->second = Numbered('N', netNames.size());
        row.Net = net->second;
        FRows.push_back(std::move(row));
    }
}

TBytes TWiringList::Csv() const {
    std::string out = "\xEF\xBB\xBF";
    out.append(kHeader).append("\r\n");
    for (const TRow& row : FRows) {
        for (const std::string* field :
             {&row.Connector, &row.Kind, &row.Head, &row.From, &row.FromText, &row.FromSide,
              &row.To, &row.ToText, &row.ToSide, &row.Colour}) {
            AppendField(out, *field);
            out += ',';
        }
        out.append(std::to_string(row.Width)).append(",");
        AppendField(out, row.Style);
        out += ',';
        AppendField(out, row.Net);
        out += "\r\n";
    }
    return TBytes(out.begin(), out.end());
}

void TWiringList::SaveToFile(const std::string& fileName) const {
    WriteFileBytes(fileName, Csv());
}

} // namespace tsb
