// The release walk at the end of a move drag (captions back in place, a
// covered element to the front) on random diagrams, against the plain walk
// over every child: both leave the same bounds and the same child order,
// whatever captions were displaced, shared or moved into the covered area.
#include <gtest/gtest.h>
#include <random>

#include "DiagramTestUtil.h"
#include "model/Connector.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"

using namespace tsb;

namespace {

// Every child visited in order: its caption placed, then the first other
// element lying within the released one comes to the front.
void PlainWalk(TMoveableShape* self) {
    TWinControl* container = self->Parent();
    TRect r = Bounds(self->Left(), self->Top(), self->Width(), self->Height());
    int count = container->ControlCount();
    for (int i = 0; i < count && i < container->ControlCount(); ++i) {
        auto* shape = As<TCustomShape>(container->Controls(i));
        if (!shape) continue;
        shape->PlaceCaption();
        if (shape != self && shape->CanProcessMouseMsg &&
            PointInRect(shape->Left(), shape->Top(), r) &&
            PointInRect(shape->Left() + shape->Width(), shape->Top() + shape->Height(), r)) {
            shape->BringToFront();
            break;
        }
    }
}

std::string Layout(const TWinControl* box) {
    std::string s;
    for (TControl* c : box->ControlList()) {
        TRect b = c->BoundsRect();
        s += c->Name() + " " + std::to_string(b.Left) + "," + std::to_string(b.Top) + " " +
             std::to_string(b.Width()) + "x" + std::to_string(b.Height()) + "\n";
    }
    return s;
}

// A random crowded diagram and random edits, the same for a given seed.
struct RandomDiagram {
    explicit RandomDiagram(unsigned seed) : Rng(seed) {
        for (int i = 0; i < 14; ++i) {
            auto* shape = new TStandardShape(D.Root.get());
            shape->SetName(std::string("S") + std::to_string(i));
            shape->SetBounds(Between(0, 300), Between(0, 300), Between(16, 220), Between(16, 160));
            shape->SetParent(D.Box);
            Shapes.push_back(shape);
            if (Between(0, 2) != 0) {
                auto* caption = new TTextShape(D.Root.get());
                caption->SetName(std::string("C") + std::to_string(i));
                caption->SetText(Between(0, 1) ? "Caption" : "A\nlonger caption");
                shape->SetCaptionAlign(static_cast<TAlign>(Between(0, 5)));
                shape->SetCaption(caption);
                Captions.push_back(caption);
            }
        }
        for (int i = 0; i < 5; ++i) {
            auto* line = new TLineConnector(D.Root.get());
            line->SetName(std::string("L") + std::to_string(i));
            line->StartConn().SetShape(Pick(Shapes));
            line->EndConn().SetShape(Pick(Shapes));
            line->UpdateBounds();
            line->SetParent(D.Box);
        }
        // A caption shared by two elements, as a file may ask for.
        if (Captions.size() > 1 && Between(0, 1)) Shapes.back()->SetCaption(Captions.front());
        for (int step = 0; step < 12; ++step) {
            switch (Between(0, 5)) {
            case 0: { // a caption dragged or resized by itself
                TTextShape* c = Pick(Captions);
                c->SetBounds(Between(0, 350), Between(0, 350), c->Width() + Between(0, 40),
                             c->Height() + Between(0, 20));
                break;
            }
            case 1: {
                TStandardShape* s = Pick(Shapes);
                s->SetBounds(Between(0, 300), Between(0, 300), s->Width(), s->Height());
                break;
            }
            case 2:
                Pick(Shapes)->BringToFront();
                break;
            case 3:
                Pick(Captions)->SendToBack();
                break;
            case 4: // a move step of every selected element, caption included
                Pick(Shapes)->SetSelected(true);
                Shapes.front()->MoveSelected(Between(-30, 30), Between(-30, 30));
                break;
            default: // a new text, so a new size
                Pick(Captions)->SetText(Between(0, 1) ? "Wider caption text" : "C");
                break;
            }
        }
        Released = Pick(Shapes);
    }
    template <typename T> T* Pick(const std::vector<T*>& list) {
        return list[static_cast<std::size_t>(Between(0, static_cast<int>(list.size()) - 1))];
    }
    int Between(int a, int b) { return std::uniform_int_distribution<int>(a, b)(Rng); }

    std::mt19937 Rng;
    tsbtest::TDiagram D;
    std::vector<TStandardShape*> Shapes;
    std::vector<TTextShape*> Captions;
    TStandardShape* Released = nullptr;
};

} // namespace

TEST(ReleaseWalk, SameOutcomeAsVisitingEveryChild) {
    int covered = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        RandomDiagram walked(seed), plain(seed);
        if (walked.Captions.empty()) continue;
        ASSERT_EQ(Layout(walked.D.Box), Layout(plain.D.Box)) << seed;
        std::vector<TControl*> order = plain.D.Box->ControlList();
        walked.Released->MouseUp(mbLeft, 0, 1, 1);
        PlainWalk(plain.Released);
        ASSERT_EQ(Layout(walked.D.Box), Layout(plain.D.Box)) << "seed " << seed;
        covered += plain.D.Box->ControlList() != order;
    }
    EXPECT_GT(covered, 50); // the walk ended at a covered element often
}
