// Feeds arbitrary bytes to the icon decoder as picture data (an ICO file, with
// or without a byte count before it). An icon that loads writes the data it
// came with, which loads again to the same picture; it then draws.
#include "PictureFuzz.h"
#include "graphics/Icon.h"

using namespace tsb;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    tsbfuzz::StartPictures(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TIcon icon;
    if (!tsbfuzz::Loaded(icon, [&] { icon.ReadData(data, size); })) return 0;
    const std::vector<std::uint8_t> written = icon.WriteData();
    TIcon again;
    try {
        again.ReadData(written.data(), written.size());
    } catch (const std::exception& e) {
        tsbfuzz::Fail("an icon's own data does not load again", e);
    }
    if (again.Image() != icon.Image() || again.WriteData() != written)
        tsbfuzz::Fail("an icon's own data loads to another icon");
    tsbfuzz::PaintPicture(icon);
    return 0;
}
