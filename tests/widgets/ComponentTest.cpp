#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Component.h"
#include "widgets/Application.h"
#include "widgets/WinControl.h"

using namespace tsb;

namespace {

// Records what happens to it.
class Probe : public TControl {
public:
    explicit Probe(TComponent* owner, std::vector<std::string>* log = nullptr)
        : TControl(owner), Log(log) {}
    std::vector<std::string>* Log;
    TComponent* Watched = nullptr;
    void Watch(TComponent* c) {
        Watched = c;
        FreeNotification(c);
    }
    void Notification(TComponent* c, TOperation op) override {
        if (op == opRemove && c == Watched) Watched = nullptr;
    }
    void Note(const std::string& s) {
        if (Log) Log->push_back(Name() + ":" + s);
    }
    void MouseDown(TMouseButton, TShiftState, int x, int y) override {
        Note("down " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseMove(TShiftState, int x, int y) override {
        Note("move " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseUp(TMouseButton, TShiftState, int x, int y) override {
        Note("up " + std::to_string(x) + "," + std::to_string(y));
    }
    void Click() override { Note("click"); }
    void DblClick() override { Note("dblclick"); }
};

} // namespace

TEST(Component, OwnerFreesWhatItOwnsAndNamesAreUnique) {
    auto* owner = new TComponent(nullptr);
    auto* a = new Probe(owner);
    a->SetName("First");
    auto* b = new Probe(owner);
    EXPECT_THROW(b->SetName("first"), Exception);
    try {
        b->SetName("FIRST");
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "A component named FIRST already exists");
    }
    try {
        b->SetName("1abc");
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "''1abc'' is not a valid component name");
    }
    b->SetName("Second");
    EXPECT_EQ(owner->FindComponent("second"), b);
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->FindComponent("First"), nullptr);
    delete owner; // frees b
}

TEST(Component, RemovalNotificationDropsReferences) {
    TComponent owner(nullptr);
    auto* watcher = new Probe(&owner);
    auto* target = new Probe(&owner);
    watcher->Watch(target);
    delete target;
    EXPECT_EQ(watcher->Watched, nullptr);

    // A watcher that goes first unsubscribes itself.
    auto* t2 = new Probe(&owner);
    auto* w2 = new Probe(&owner);
    w2->Watch(t2);
    delete w2;
    delete t2;
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(Component, AssignOfUnrelatedClassesFails) {
    TPersistent a, b;
    try {
        a.Assign(b);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TPersistent to a TPersistent");
    }
}

TEST(Application, DefaultHandlerShowsMessageWithFullStop) {
    tsbtest::ShownErrors().clear();
    Guarded([] { throw Exception("Something failed"); });
    Guarded([] { throw Exception("Already ends."); });
    ASSERT_EQ(tsbtest::ShownErrors().size(), 2u);
    EXPECT_EQ(tsbtest::ShownErrors()[0], "Something failed.");
    EXPECT_EQ(tsbtest::ShownErrors()[1], "Already ends.");
    EXPECT_EQ(FormatMessage("Class %s not found", {"TFoo"}), "Class TFoo not found");
}

class WindowlessRouting : public ::testing::Test {
protected:
    void SetUp() override {
        Host = new TWinControl(&Owner);
        Host->SetBounds(0, 0, 200, 100);
        Host->Widget()->show();
        Back = new Probe(&Owner, &Log);
        Back->SetName("Back");
        Back->SetBounds(10, 10, 50, 50);
        Back->SetParent(Host);
        Front = new Probe(&Owner, &Log);
        Front->SetName("Front");
        Front->SetBounds(30, 30, 50, 50);
        Front->SetParent(Host);
    }
    TComponent Owner{nullptr};
    TWinControl* Host = nullptr;
    Probe* Back = nullptr;
    Probe* Front = nullptr;
    std::vector<std::string> Log;
};

TEST_F(WindowlessRouting, PressGoesToFrontMostChildAndCaptureHoldsTheDrag) {
    QWidget* w = Host->Widget();
    tsbtest::MousePress(w, 40, 40);
    EXPECT_TRUE(Front->MouseCapture());
    tsbtest::MouseMove(w, 150, 90, Qt::LeftButton);
    tsbtest::MouseRelease(w, 150, 90);
    EXPECT_FALSE(Front->MouseCapture());
    // Released outside its bounds: no click.
    EXPECT_EQ(Log, (std::vector<std::string>{"Front:down 10,10", "Front:move 120,60",
                                             "Front:up 120,60"}));
    Log.clear();
    tsbtest::MousePress(w, 15, 15);
    tsbtest::MouseRelease(w, 16, 16);
    EXPECT_EQ(Log, (std::vector<std::string>{"Back:down 5,5", "Back:click", "Back:up 6,6"}));
}

TEST_F(WindowlessRouting, DisabledAndHiddenChildrenLetPressesThrough) {
    Front->SetEnabled(false);
    bool containerPressed = false;
    Host->OnMouseDown = TMouseEvent(
        [&](TComponent*, TMouseButton, TShiftState, int, int) { containerPressed = true; });
    tsbtest::MousePress(Host->Widget(), 70, 70);
    tsbtest::MouseRelease(Host->Widget(), 70, 70);
    EXPECT_TRUE(containerPressed);
    EXPECT_TRUE(Log.empty());
    tsbtest::MousePress(Host->Widget(), 35, 35);
    tsbtest::MouseRelease(Host->Widget(), 35, 35);
    EXPECT_EQ(Log.front(), "Back:down 25,25");
}

TEST_F(WindowlessRouting, DoubleClickOrder) {
    tsbtest::MouseDoubleClick(Host->Widget(), 40, 40);
    EXPECT_EQ(Log,
              (std::vector<std::string>{"Front:down 10,10", "Front:click", "Front:up 10,10",
                                        "Front:dblclick", "Front:down 10,10", "Front:up 10,10"}));
}

TEST_F(WindowlessRouting, ChildrenPaintInZOrderClippedToTheirBounds) {
    struct Filler : TControl {
        using TControl::TControl;
        TColor C = clRed;
        void Paint() override {
            Canvas()->Brush.Color = C;
            Canvas()->FillRect({-100, -100, 1000, 1000});
        }
    };
    TComponent owner(nullptr);
    TWinControl host(&owner);
    host.SetBounds(0, 0, 40, 40);
    host.Color = clWhite;
    auto* a = new Filler(&owner);
    a->SetBounds(5, 5, 10, 10);
    a->SetParent(&host);
    auto* b = new Filler(&owner);
    b->C = clBlue;
    b->SetBounds(10, 10, 10, 10);
    b->SetParent(&host);
    QImage img(40, 40, QImage::Format_RGB32);
    host.PaintTo(img, 0, 0);
    EXPECT_EQ(tsbtest::Px(img, 4, 4), 0xFFFFFFu);
    EXPECT_EQ(tsbtest::Px(img, 5, 5), 0xFF0000u);
    EXPECT_EQ(tsbtest::Px(img, 12, 12), 0x0000FFu);
    EXPECT_EQ(tsbtest::Px(img, 20, 20), 0xFFFFFFu);
    a->BringToFront();
    host.PaintTo(img, 0, 0);
    EXPECT_EQ(tsbtest::Px(img, 12, 12), 0xFF0000u);
}
