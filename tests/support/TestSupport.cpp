#include "TestSupport.h"

#include <QTimer>

#include "platform/Application.h"

namespace tsbtest {

std::vector<std::string>& ShownErrors() {
    static std::vector<std::string> errors;
    return errors;
}

void InstallTestEnvironment() {
    tsb::Application().OnException = [](const std::string& m) { ShownErrors().push_back(m); };
}

void OnNextModal(std::function<void()> f) {
    QTimer::singleShot(0, std::move(f));
}

} // namespace tsbtest
