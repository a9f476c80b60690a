// The diagram as JSON for scripts: the page, then every element in z-order
// with its class, name, bounds, caption and the properties of its kind;
// connectors with both ends. The layout is described by the JSON Schema
// installed beside the program (resources/json/diagram.schema.json). Only
// written: diagram files stay the one form the editor reads.
#pragma once

#include <string>

namespace tsb {

class TWinControl;

class TDiagramJson {
public:
    // The document for the container's elements, UTF-8, one element a line.
    static std::string Write(const TWinControl* container);
    // Writes it beside the target and renames it over the target once
    // complete ("Cannot create file %s", "Stream write error").
    static void SaveToFile(const std::string& fileName, const TWinControl* container);
};

} // namespace tsb
