// Pasting a diagram block: the clipboard form of the diagram stream read into
// a work area beside what it holds. Every element read takes the smallest
// free name of its class among the work area owner's components, and the
// block's references to its own elements follow the new names.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tsb {

class TComponent;
class TProgress;
class TReader;
class TWinControl;

class TPasteNames {
public:
    // Reads the block ("TPF0" and the work-area record) into the container,
    // all or nothing, as TDiagramStream::Read does; the names of the paste
    // before are forgotten first. A progress object, when given, is stepped
    // and may cancel the read; beforeCommit, when given, sees the whole read
    // before anything that existed changes.
    void Read(std::span<const std::uint8_t> block, TWinControl* container,
              TProgress* progress = nullptr,
              const std::function<void(const TReader&)>& beforeCommit = {});

    // The reader's hooks. An element gets the smallest free name of its
    // class (its class name without the first letter, then a number from 1)
    // among the owner's components and the names read so far; anything else
    // keeps its name.
    void PasteSetName(const TComponent& owner, TReader& reader, TComponent* component,
                      std::string& name);
    // A reference to a name the paste renamed takes the new name; the first
    // pair of a name counts, compared without regard to case.
    void PasteReferenceName(std::string& name) const;

    // Old and new name of each element of the last paste, in reading order.
    const std::vector<std::pair<std::string, std::string>>& Pairs() const { return FPairs; }
    void Clear();

private:
    std::vector<std::pair<std::string, std::string>> FPairs;
    // The new name of each old name, by lower case.
    std::unordered_map<std::string, std::string> FIndex;
};

} // namespace tsb
