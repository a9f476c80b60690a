// The bucket index of a windowed control's children against a plain scan of
// the child list, under random inserts, moves, resizes, reorders and
// deletes: every query finds exactly the children a scan finds, in child
// order, and hit-testing picks the same child.
#include <gtest/gtest.h>
#include <random>

#include "widgets/WinControl.h"

using namespace tsb;

namespace {

// Closed intervals: a child meets an area when they share a point, edges
// included.
bool Meets(const TRect& b, const TRect& r) {
    auto lo = [](int a, int c) { return std::min(a, c); };
    auto hi = [](int a, int c) { return std::max(a, c); };
    return lo(b.Left, b.Right) <= hi(r.Left, r.Right) &&
           hi(b.Left, b.Right) >= lo(r.Left, r.Right) &&
           lo(b.Top, b.Bottom) <= hi(r.Top, r.Bottom) && hi(b.Top, b.Bottom) >= lo(r.Top, r.Bottom);
}

std::vector<TControl*> Scan(const TWinControl& host, const TRect& r) {
    std::vector<TControl*> out;
    for (TControl* c : host.ControlList())
        if (Meets(c->BoundsRect(), r)) out.push_back(c);
    return out;
}

TControl* ScanAtPos(const TWinControl& host, TPoint p) {
    const auto& list = host.ControlList();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if ((*it)->Visible() && (*it)->Enabled() && (*it)->BoundsRect().Contains(p.X, p.Y))
            return *it;
    return nullptr;
}

class RandomPlane {
public:
    explicit RandomPlane(unsigned seed) : Rng(seed) {}
    int Coord() {
        // Mostly on a page, sometimes far out or negative.
        switch (Pick(10)) {
        case 0:
            return Between(-5000, 0);
        case 1:
            return Between(20000, 70000);
        default:
            return Between(0, 3000);
        }
    }
    int Size() {
        switch (Pick(12)) {
        case 0:
            return 0;
        case 1:
            return Between(3000, 70000); // spans many buckets
        default:
            return Between(1, 300);
        }
    }
    TRect Area() {
        int l = Coord(), t = Coord();
        switch (Pick(4)) {
        case 0:
            return {l, t, l, t}; // a point
        case 1:
            return Bounds(l, t, Between(1000, 60000), Between(1, 600)); // a band
        default:
            return Bounds(l, t, Between(0, 2000), Between(0, 2000));
        }
    }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Rng); }
    int Between(int a, int b) { return std::uniform_int_distribution<int>(a, b)(Rng); }
    std::mt19937 Rng;
};

} // namespace

TEST(ControlIndex, AgreesWithAScanOfTheChildListUnderRandomChanges) {
    for (unsigned seed : {1u, 2u, 3u}) {
        RandomPlane rnd(seed);
        TComponent owner(nullptr);
        TWinControl host(&owner);
        host.SetBounds(0, 0, 640, 480);
        std::vector<TControl*> children;
        for (int step = 0; step < 4000; ++step) {
            int op = children.empty() ? 0 : rnd.Pick(10);
            TControl* c = children.empty() ? nullptr
                                           : children[static_cast<std::size_t>(
                                                 rnd.Pick(static_cast<int>(children.size())))];
            switch (op) {
            case 0:
            case 1: {
                auto* n = new TControl(&owner);
                n->SetBounds(rnd.Coord(), rnd.Coord(), rnd.Size(), rnd.Size());
                n->SetParent(&host);
                n->SetEnabled(rnd.Pick(5) != 0);
                children.push_back(n);
                break;
            }
            case 2: // a small move, mostly within the same buckets
                c->SetBounds(c->Left() + rnd.Between(-20, 20), c->Top() + rnd.Between(-20, 20),
                             c->Width(), c->Height());
                break;
            case 3:
                c->SetBounds(rnd.Coord(), rnd.Coord(), c->Width(), c->Height());
                break;
            case 4:
                c->SetBounds(c->Left(), c->Top(), rnd.Size(), rnd.Size());
                break;
            case 5: // stored as it is, as connectors do
                c->UpdateBoundsRect(Bounds(rnd.Coord(), rnd.Coord(), rnd.Size(), rnd.Size()));
                break;
            case 6:
                c->BringToFront();
                break;
            case 7:
                c->SendToBack();
                break;
            case 8:
                children.erase(std::find(children.begin(), children.end(), c));
                delete c;
                break;
            case 9: // out of the container and back in at the front
                c->SetParent(nullptr);
                c->SetParent(&host);
                break;
            }
            for (int q = 0; q < 3; ++q) {
                TRect r = rnd.Area();
                std::vector<TControl*> found;
                host.FindControls(r, found);
                ASSERT_EQ(found, Scan(host, r)) << "seed " << seed << " step " << step;
                TPoint p{rnd.Coord(), rnd.Coord()};
                if (!Scan(host, {p.X, p.Y, p.X, p.Y}).empty() || rnd.Pick(4) == 0) {
                    ASSERT_EQ(host.ControlAtPos(p), ScanAtPos(host, p)) << "step " << step;
                }
            }
        }
        // Querying the whole plane at once lists every child in order.
        std::vector<TControl*> all;
        host.FindControls({-1000000, -1000000, 1000000, 1000000}, all);
        EXPECT_EQ(all, host.ControlList());
    }
}
