// Helpers of the undo tests: the bytes a save writes, and random changes of
// every kind a user makes, through the editor's own commands or through
// mouse and key events sent to its windows.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/ClassInfo.h"
#include "core/Types.h"
#include "support/TestSupport.h"

namespace tsb {
class TControl;
class TCustomShape;
class TMainForm;
} // namespace tsb

namespace tsbtest {

// The bytes Save writes for the diagram (every element selected while it
// is written, none afterwards).
tsb::TBytes SavedBytes(tsb::TMainForm* form);

// The diagram's elements apart from their order and their pointer
// (`Cursor`), which come with selecting: the page's place and size, then a
// line for each element with every property a file holds, sorted.
std::vector<std::string> ElementsApartFromSelecting(tsb::TMainForm* form);

// Runs `answer` on the modal dialog of class T that the next action opens,
// if it opens one; the returned guard, destroyed once the action has
// returned, stops it from acting on a later dialog.
template <typename T> std::shared_ptr<bool> OnModal(std::function<void(T*)> answer) {
    auto live = std::make_shared<bool>(true);
    OnNextModal([answer, live] {
        if (!*live) return;
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<T*>(modal)) {
            QTimer::singleShot(5000, dialog, &QDialog::reject);
            answer(dialog);
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            other->reject();
        }
    });
    return std::shared_ptr<bool>(live.get(), [live](bool*) { *live = false; });
}

class TRandomEdits {
public:
    enum TKind {
        kAddText,
        kAddShape,
        kAddGraphic,
        kAddHidden,
        kMove,
        kResize,
        kConnect,
        kDelete,
        kCut,
        kPaste,
        kEditCaption,
        kCaptionPosition,
        kShapeType,
        kPicture,
        kPageSetup,
        kKinds
    };
    // `mouse`: through mouse and key events on the windows rather than the
    // commands; `picture`: a picture file the picture dialog chooses.
    TRandomEdits(tsb::TMainForm* form, unsigned seed, bool mouse, std::string picture);

    // Makes one change of the kind on elements picked at random; dialogs
    // are answered at random too, cancelled now and then.
    void Make(int kind);
    void Undo();
    void Redo();
    int Random(int low, int high);

private:
    template <typename T> T* Pick();
    std::vector<tsb::TCustomShape*> Elements() const;
    // A work-area point where a press reaches the element, if there is one.
    bool PointOn(tsb::TControl* element, tsb::TPoint& at);
    void Click(tsb::TPoint at, int button = 1, int modifiers = 0);
    void SelectSome();
    void Keys(const char* keys);

    tsb::TMainForm* Form;
    // Closes a dialog left open by a press that reached another element
    // than the one meant.
    QTimer Watchdog;
    QWidget* LastModal = nullptr;
    std::mt19937 Engine;
    bool Mouse;
    std::string Picture;
};

} // namespace tsbtest
