// Helpers shared by the test executables.
#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <vector>

namespace tsbtest {

// Routes the application's default exception handler into a list, so a test
// can assert on the messages a user would have seen.
void InstallTestEnvironment();
std::vector<std::string>& ShownErrors();

// Runs f on the next turn of the event loop; used to answer modal dialogs.
void OnNextModal(std::function<void()> f);

// Pixel of an RGB32 image as 0xRRGGBB.
inline unsigned Px(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}

} // namespace tsbtest
