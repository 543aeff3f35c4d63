// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <cmath>

#include "Art.h"
#include "Filters.h"
#include "Noise.h"
#include "ObjectTable.h"
#include "Placement.h"
#include "Rng.h"
#include "Scenery.h"
#include "SeaProps.h"
#include "Themes.h"

namespace datagen {
namespace {

using namespace sea;

double FloorY(const Scene& s) {
  return s.mood[1];
}

// What the sea's objects depend on: the waters of the level.
struct Dive {
  int mood;
  const Waters& waters;
};

// On the floor things are drawn by how low they stand; whatever swims comes in front of them.
constexpr Depth kFloor{0, 1}, kSwimming{kSwimmerDepth, 1};

// Bright reef fish by day, a few glowing colours in a night sea.
Rgb FishColour(const Dive& d, Rng& rng) {
  if (d.waters.glow) return Hsv(rng.Pick(std::vector<double>{0.5, 0.55, 0.85, 0.3}), 0.5, 1.0);
  return Hsv(
      rng.Pick(std::vector<double>{0.0, 0.08, 0.13, 0.16, 0.55, 0.6, 0.78, 0.9}) + rng.Range(-0.02, 0.02),
      rng.Range(0.6, 0.85), rng.Range(0.85, 1.0));
}

using Object = ObjectType<Dive>;
using enum Counting;

// One row a kind, in the order of the kinds.
constexpr Object kObjects[] = {
    // A fish's body shape is chosen before its size.
    {.kind = kFish,
     .paint = PaintFish,
     .recount = {kWhenAny, 3},
     .mirrorable = true,
     .depth = kSwimming,
     .palette =
         [](Item& it, const Dive& d, Rng& rng) {
           it.variant = rng.Int(0, 2);
           it.size = rng.Range(22, 34);
           it.color = FishColour(d, rng);
           it.accent = rng.Chance(0.5) ? Hex(0xFFFFFF) : Hsv(rng.Uniform(), 0.7, 0.5);
           it.count = rng.Chance(0.7) ? rng.Int(1, 3) : 0;
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kSchool,
     .paint = PaintSchool,
     .size = {40, 56},
     .recount = {kAlways, 12},
     .mirrorable = true,
     .depth = kSwimming,
     .palette =
         [](Item& it, const Dive& d, Rng& rng) {
           it.color = d.waters.glow ? Hex(0x9AF0FF) : Hsv(rng.Range(0.5, 0.62), 0.35, 0.95);
           it.accent = Hex(0xFFFFFF);
           it.count = rng.Int(5, 9);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kJelly,
     .paint = PaintJelly,
     .size = {22, 30},
     .recount = {kAlways, 7},
     .depth = kSwimming,
     .palette =
         [](Item& it, const Dive& d, Rng& rng) {
           it.color =
               d.waters.glow ? Hsv(rng.Range(0.5, 0.9), 0.55, 1.0) : Hsv(rng.Range(0.75, 0.95), 0.35, 1.0);
           it.count = rng.Int(3, 6);
         }},
    {.kind = kStar,
     .paint = PaintStar,
     .size = {18, 24},
     .recount = {kAlways, 8},
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.02, 0.07, 0.95, 0.8}), 0.7, 0.95);
           it.accent = Hex(0xFFF0C0);
           it.count = 5;
           it.angle = rng.Range(0, 1);
         }},
    {.kind = kShell,
     .paint = PaintShell,
     .size = {16, 22},
     .recount = {kAlways, 10},
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Range(0.02, 0.12), 0.3, 0.98);
           it.accent = Hsv(rng.Range(0.0, 0.08), 0.5, 0.75);
           it.count = rng.Int(5, 8);
         }},
    {.kind = kCrab,
     .paint = PaintCrab,
     .size = {20, 26},
     .mirrorable = true,
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Range(0.0, 0.06), 0.8, 0.9);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kTurtle,
     .paint = PaintTurtle,
     .size = {46, 58},
     .mirrorable = true,
     .depth = kSwimming,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Range(0.12, 0.22), 0.55, 0.6);
           it.accent = Hsv(rng.Range(0.2, 0.3), 0.35, 0.7);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kSeahorse,
     .paint = PaintSeahorse,
     .size = {26, 34},
     .mirrorable = true,
     .depth = kSwimming,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.1, 0.13, 0.9, 0.05}), 0.7, 0.95);
           it.accent = Shade(it.color, 1.3);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kOctopus,
     .paint = PaintOctopus,
     .size = {30, 38},
     .mirrorable = true,
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.95, 0.02, 0.8}), 0.6, 0.85);
           it.accent = Hex(0xFFE0E8);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kCoral,
     .paint = PaintCoral,
     .size = {34, 52},
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.0, 0.04, 0.92, 0.85, 0.12, 0.5}), 0.6, 0.95);
         }},
    {.kind = kBrain,
     .paint = PaintBrain,
     .size = {26, 36},
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.1, 0.2, 0.3, 0.06}), 0.45, 0.85);
           it.accent = Shade(it.color, 0.6);
         }},
    {.kind = kFan,
     .paint = PaintFan,
     .size = {34, 48},
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.78, 0.85, 0.95, 0.08}), 0.6, 0.9);
         }},
    // Kelp stands behind what grows on the floor; the kelp forest's grows taller.
    {.kind = kKelp,
     .paint = PaintKelp,
     .scenery = true,
     .depth = Depth{-40, 1},
     .palette =
         [](Item& it, const Dive& d, Rng& rng) {
           it.size = d.mood == 2 ? rng.Range(200, 280) : rng.Range(120, 200);
           it.color = Hsv(rng.Range(0.2, 0.3), 0.6, 0.5);
         }},
    {.kind = kWeed,
     .paint = PaintWeed,
     .size = {22, 34},
     .depth = kFloor,
     .palette = [](Item& it, const Dive&, Rng& rng) { it.color = Hsv(rng.Range(0.22, 0.38), 0.6, 0.6); }},
    {.kind = kRock,
     .paint = PaintRock,
     .size = {24, 40},
     .depth = kFloor,
     .palette = [](Item& it, const Dive&,
                   Rng& rng) { it.color = Hsv(rng.Range(0.55, 0.65), 0.12, rng.Range(0.45, 0.6)); }},
    {.kind = kAnemone,
     .paint = PaintAnemone,
     .size = {20, 28},
     .recount = {kAlways, 12},
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.9, 0.95, 0.55, 0.1}), 0.55, 0.95);
           it.accent = Hex(0xFFFFFF);
           it.count = rng.Int(5, 9);
         }},
    {.kind = kBubbles,
     .paint = PaintBubbles,
     .size = {44, 64},
     .recount = {kAlways, 10},
     .depth = kSwimming,
     .palette = [](Item& it, const Dive&, Rng& rng) { it.count = rng.Int(4, 8); }},
    {.kind = kChest,
     .paint = PaintChest,
     .size = {34, 42},
     .recount = {kAlways, 8},
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hex(0x8A5A32);
           it.accent = Hex(0xC8A040);
           it.count = rng.Int(3, 6);
         }},
    {.kind = kAnchor,
     .paint = PaintAnchor,
     .size = {36, 46},
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hex(0x4A4E56);
           it.angle = rng.Range(-0.5, 0.5);
         }},
    {.kind = kUrchin,
     .paint = PaintUrchin,
     .size = {16, 22},
     .depth = kFloor,
     .palette = [](Item& it, const Dive&, Rng& rng) { it.color = Hsv(rng.Range(0.75, 0.85), 0.55, 0.45); }},
    {.kind = kRay,
     .paint = PaintRay,
     .size = {44, 58},
     .mirrorable = true,
     .depth = kSwimming,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Range(0.55, 0.62), 0.25, 0.55);
           it.accent = Hex(0xE8F0FF);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kClam,
     .paint = PaintClam,
     .size = {22, 28},
     .recount = {kAlways, 3},
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = Hsv(rng.Range(0.75, 0.95), 0.25, 0.85);
           it.accent = Hex(0xF0C0D0);
           it.count = rng.Int(1, 2);
         }},
    {.kind = kBottle,
     .paint = PaintBottle,
     .size = {18, 24},
     .mirrorable = true,
     .depth = kFloor,
     .palette =
         [](Item& it, const Dive&, Rng& rng) {
           it.color = rng.Chance(0.5) ? Hex(0x3A9A5A) : Hex(0x7AB0D0);
           it.flip = rng.Chance(0.5);
         }},
    // A wreck lies behind the reef in front of it.
    {.kind = kWreck, .paint = PaintWreck, .size = {150, 190}, .scenery = true, .depth = Depth{-60, 1}},
};

// The sea floor's top edge at x: a gentle dune line.
double FloorAt(const Scene& s, double x) {
  return FloorY(s) + std::sin(x / 37.0 + s.mood[2]) * 6 + std::sin(x / 13.0 + s.mood[2] * 2) * 2;
}

class Sea : public TableTheme<Dive> {
 public:
  Sea() : TableTheme(kObjects) {}

  std::string PackName() const override { return "Under the Sea"; }
  std::string Description() const override {
    return "Dive among reefs, wrecks and kelp forests[e]where fish, crabs and turtles go about[e]their quiet "
           "business.";
  }
  bool Vertical() const override { return true; }

  Scene Compose(int level, Rng& rng) const override {
    Scene scene = NewScene(level, rng);
    const int mood = (level - 1) % kMoods;
    scene.mood = {static_cast<double>(mood), rng.Range(268, 300), rng.Range(0, 6.28)};
    const Waters& w = WatersOf(mood);
    static const char* kMore[] = {"the fish are busy", "all is calm",       "what moved?",
                                  "look closely",      "small things hide", "bubbles rise"};
    scene.caption = std::string(w.name) + "[e]" + kMore[rng.Int(0, 5)];
    Populate(scene, mood, rng);
    return scene;
  }

  void PaintBackground(cairo_t* cr, const Scene& scene) const override {
    const Waters& w = WatersOf(static_cast<int>(scene.mood[0]));
    const double W = scene.width, H = scene.height;
    Rng rng(scene.seed);
    scenery::Gradient(cr, 0, 0, W, H, {{0, w.top}, {0.55, Mix(w.top, w.bottom, 0.6)}, {1, w.bottom}});
    // The surface seen from below, and light falling through it.
    for (int k = 0; k < 24; ++k) {
      double x = rng.Range(0, W), y = rng.Range(0, 10);
      art::Ellipse(cr, x, y, rng.Range(6, 18), rng.Range(1, 2.5));
      art::Fill(cr, w.light, 0.25);
    }
    for (int k = 0; k < 7; ++k) {
      double x = rng.Range(-40, W), spread = rng.Range(10, 30), lean = rng.Range(30, 80);
      art::Polygon(cr,
                   {{x, 0}, {x + spread, 0}, {x + spread + lean + 30, H * 0.85}, {x + lean - 10, H * 0.85}});
      cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, H * 0.85);
      cairo_pattern_add_color_stop_rgba(g, 0, w.light.r, w.light.g, w.light.b, w.rays);
      cairo_pattern_add_color_stop_rgba(g, 1, w.light.r, w.light.g, w.light.b, 0);
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
    }
    // Far reef shapes in the haze.
    Noise far(rng.Next());
    scenery::Ridge(cr, far, W, FloorY(scene) - 40, 30, 50, H, Mix(w.bottom, w.top, 0.35),
                   Mix(w.bottom, w.top, 0.2));
    // The floor, with ripples and the dancing light on it.
    cairo_move_to(cr, -2, H + 2);
    for (double x = -2; x <= W + 2; x += 2) cairo_line_to(cr, x, FloorAt(scene, x));
    cairo_line_to(cr, W + 2, H + 2);
    cairo_close_path(cr);
    art::FillVertical(cr, FloorY(scene) - 8, H, w.sandTop, w.sandBottom);
    for (int k = 0; k < 40; ++k) {
      double x = rng.Range(-10, W), y = rng.Range(FloorY(scene) + 8, H);
      double len = rng.Range(10, 30);
      cairo_move_to(cr, x, y);
      cairo_curve_to(cr, x + len * 0.3, y - 2, x + len * 0.6, y + 2, x + len, y);
      art::Stroke(cr, 1, Shade(w.sandBottom, 0.8), 0.5);
    }
    for (int k = 0; k < 30; ++k) {
      double x = rng.Range(0, W), y = rng.Range(FloorY(scene) + 4, H);
      art::Ellipse(cr, x, y, rng.Range(3, 9), rng.Range(0.8, 1.6));
      art::Fill(cr, w.light, 0.22);
    }
    // Drifting specks.
    for (int k = 0; k < 60; ++k) {
      double x = rng.Range(0, W), y = rng.Range(0, FloorY(scene));
      art::Ellipse(cr, x, y, 0.7, 0.7);
      art::Fill(cr, w.light, rng.Range(0.15, 0.45));
    }
  }

  Item NewItem(const Scene& scene, Rng& rng, double x, double y) const override {
    const int mood = static_cast<int>(scene.mood[0]);
    if (y > FloorAt(scene, x) + 8) {
      int kind =
          rng.Pick(std::vector<int>{kStar, kShell, kCrab, kUrchin, kRock, kAnemone, kClam, kCoral, kBrain});
      return MakeItem(kind, mood, rng, x, y);
    }
    int kind = rng.Pick(std::vector<int>{kFish, kFish, kJelly, kSeahorse, kSchool, kBubbles});
    return MakeItem(kind, mood, rng, x, std::min(y, FloorY(scene) - 20));
  }

 private:
  Item MakeItem(int kind, int mood, Rng& rng, double x, double y) const {
    return Make(kind, Dive{mood, WatersOf(mood)}, rng, x, y);
  }

  void Populate(Scene& scene, int mood, Rng& rng) const {
    const double W = scene.width, floor = FloorY(scene), H = scene.height;
    Placement spots;
    auto onFloor = [&](int kind, double radius) {
      for (int tries = 0; tries < 40; ++tries) {
        double x = rng.Range(W * 0.04, W * 0.96), y = rng.Range(floor + 6, H - 4);
        if (y < FloorAt(scene, x) + 6 || !spots.Free(x, y, radius, 0.8)) continue;
        spots.Take(x, y, radius);
        scene.items.push_back(MakeItem(kind, mood, rng, x, y));
        return;
      }
    };
    auto swimming = [&](int kind, double radius) {
      for (int tries = 0; tries < 40; ++tries) {
        double x = rng.Range(W * 0.08, W * 0.92), y = rng.Range(H * 0.08, floor - 10);
        if (!spots.Free(x, y, radius, 0.85)) continue;
        spots.Take(x, y, radius);
        scene.items.push_back(MakeItem(kind, mood, rng, x, y));
        return;
      }
    };
    // Setting pieces behind everything.
    if (mood == 4 || mood == 11)
      scene.items.push_back(MakeItem(kWreck, mood, rng, W * rng.Range(0.35, 0.65), floor + 6));
    int kelp = mood == 2 ? 6 : rng.Int(0, 2);
    for (int k = 0; k < kelp; ++k) {
      double x = rng.Range(W * 0.05, W * 0.95);
      scene.items.push_back(MakeItem(kKelp, mood, rng, x, FloorAt(scene, x) + rng.Range(8, 30)));
    }
    // The reef: corals and rocks along the floor.
    std::vector<int> reef = {kCoral, kCoral, kBrain, kFan, kRock, kWeed, kWeed, kAnemone, kCoral, kRock};
    if (mood == 1 || mood == 5) reef.insert(reef.end(), {kCoral, kFan, kBrain, kCoral});
    for (int kind : reef) onFloor(kind, 14);
    std::vector<int> small = {kStar, kShell, kCrab, kUrchin, kShell, kStar, kClam, kBottle};
    if (mood == 11) small.insert(small.end(), {kChest, kAnchor});
    if (mood == 4) small.push_back(kAnchor);
    if (mood == 10) small.insert(small.end(), {kClam, kClam});
    for (int kind : small) onFloor(kind, 10);
    // Life in open water.
    std::vector<int> swimmers = {kFish,   kFish,  kFish,     kFish,    kFish,
                                 kSchool, kJelly, kSeahorse, kBubbles, kBubbles};
    if (mood == 3 || mood == 6) swimmers.insert(swimmers.end(), {kJelly, kJelly, kJelly});
    if (mood == 0 || mood == 8) swimmers.insert(swimmers.end(), {kTurtle, kFish});
    if (mood == 7 || mood == 9) swimmers.insert(swimmers.end(), {kRay, kFish});
    if (mood == 1) swimmers.push_back(kOctopus);
    for (int kind : swimmers) swimming(kind, kind == kTurtle || kind == kRay ? 26 : 15);
  }
};

}  // namespace

std::unique_ptr<Theme> MakeSeaTheme() {
  return std::make_unique<Sea>();
}

}  // namespace datagen
