// A readable listing of the elements of a work area: one stable line per
// element in child order with its class, name, bounds and the properties a
// diagram file would hold for it.
#pragma once

#include <string>

namespace tsb {

class TComponent;
class TWinControl;

// "TTextShape StandardShape1_Caption 129,102 41x15 CanProcessMouseMsg=True ..."
// Strings are quoted with \" \\ \n \r \t escapes; an empty name shows as "-".
std::string DumpElement(const TComponent* element, const TComponent* root);
// Every element of the container, one line each, each ending in a line feed.
std::string DumpDiagram(const TWinControl* container);

} // namespace tsb
