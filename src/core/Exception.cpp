#include "core/Exception.h"

namespace tsb {

std::string FormatMessage(const std::string& format, std::initializer_list<std::string> args) {
    std::string out;
    auto it = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            if (it != args.end()) out += *it++;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerCaseAscii(a[i]) != LowerCaseAscii(b[i])) return false;
    return true;
}

std::string LowerCaseAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = LowerCaseAscii(c);
    return out;
}

} // namespace tsb
