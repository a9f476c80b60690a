// The diagram as a byte stream: the work-area record with its selected
// elements, as diagram files and the clipboard hold it.
#pragma once

#include <functional>

#include "core/Progress.h"
#include <span>
#include <string>

#include "model/Reader.h"

namespace tsb {

class TCustomShape;
class TWinControl;

class TDiagramStream {
public:
    // The work-area record with its selected elements. The file form has no
    // signature and leaves the work area unnamed; the clipboard form is
    // "TPF0" and the record under the work area's own name. Names and
    // handlers are written against the work area's owner.
    static TBytes Write(TWinControl* container, bool clipboardForm = false,
                        TProgress* progress = nullptr);
    // The parts of the file form, for a stream of chosen elements: the start
    // of the work-area record (unnamed, with its own properties only when
    // asked for), each element's record whether selected or not, and the
    // end of the work area's child list.
    static void WriteHead(TBytes& out, TWinControl* container, bool properties);
    static void WriteElement(TBytes& out, TWinControl* container, TComponent* element);
    static void WriteEnd(TBytes& out) { out.push_back(0); }
    // The file form with every element, whatever its selection.
    static TBytes WriteAll(TWinControl* container);

    struct TReadOptions {
        // Expect "TPF0" first (the clipboard form).
        bool Signature = false;
        // Replace the container's elements (open) rather than add to them
        // (paste).
        bool Replace = true;
        // The reader's name hooks (paste renames what it brings in).
        std::function<void(TReader&, TComponent*, std::string&)> OnSetName;
        std::function<void(TReader&, std::string&)> OnReferenceName;
        // Stepped with the bytes read, once an element; when it raises, the
        // read is abandoned and the container stays as it was.
        TProgress* Progress = nullptr;
        // With Replace, the elements that those read take the place of; the
        // others stay. Null: every element of the container.
        const std::vector<TCustomShape*>* Replacing = nullptr;
        // The work-area record's own properties: applied, ignored, or
        // applied exactly (see TReader).
        TReader::TRootProperties RootProperties = TReader::rpApply;
        // Called once the whole stream is read and its references resolved,
        // before anything that existed changes.
        std::function<void(const TReader&)> BeforeCommit;
        // Receives the elements read, in the order of their records.
        std::vector<TComponent*>* Created = nullptr;
    };

    // Reads a work-area record into the container: its stored properties go
    // to the container, its elements are created with the container's owner
    // as owner. All or nothing: the whole stream is read and checked first,
    // and the container changes only when that succeeded; on any error it is
    // left exactly as it was and the error is raised.
    static void Read(std::span<const std::uint8_t> data, TWinControl* container,
                     const TReadOptions& options);
    static void Read(std::span<const std::uint8_t> data, TWinControl* container) {
        Read(data, container, TReadOptions());
    }
};

} // namespace tsb
