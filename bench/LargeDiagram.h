// The large diagram of the benchmarks: 10,000 standard shapes with captions
// in a grid of 100 x 100, 160 pixels apart across and 100 down, joined in
// reading order by 9,999 one-way arrows, on a page of 16,040 x 10,040.
#pragma once

#include <string>

namespace tsb {
class TComponent;
class TCustomShape;
class TScrollBox;
class TSingleHeadArrow;
} // namespace tsb

namespace tsbbench {

constexpr int kColumns = 100;
constexpr int kRows = 100;
constexpr int kPageWidth = 40 + 160 * kColumns;
constexpr int kPageHeight = 40 + 100 * kRows;

// A red one-way arrow from the right side of one element to the left side
// of another, on the work area.
tsb::TSingleHeadArrow* JoinByArrow(tsb::TComponent* owner, tsb::TScrollBox* box,
                                   tsb::TCustomShape* from, tsb::TCustomShape* to);

// Builds the diagram on the work area, every element selected; elements are
// owned by `owner`.
void BuildLargeDiagram(tsb::TComponent* owner, tsb::TScrollBox* box);

// Writes the diagram file of BuildLargeDiagram.
void WriteLargeDiagram(const std::string& fileName);

// Writes a diagram with a page of the given size and a few elements spread
// over it.
void WriteHugePage(const std::string& fileName, int width, int height);

// A file of that name in the temporary folder.
std::string TempFile(const std::string& name);
// The file of WriteLargeDiagram and the file of WriteHugePage at a size,
// each written once per process.
const std::string& LargeDiagramFile();
const std::string& HugePageFile(int width, int height);

// The process's resident memory now and at its peak, in MB.
double ResidentMB();
double PeakResidentMB();
// The resident high-water mark, in MB, and setting it back to the resident
// memory now, so the peak of what follows can be read on its own.
double HighWaterMB();
void ResetHighWater();

} // namespace tsbbench
