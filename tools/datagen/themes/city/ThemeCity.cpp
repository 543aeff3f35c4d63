// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <cmath>

#include "Art.h"
#include "CityProps.h"
#include "Noise.h"
#include "ObjectTable.h"
#include "Placement.h"
#include "Rng.h"
#include "Scenery.h"
#include "Themes.h"

namespace datagen {
namespace {

using namespace city;

constexpr double kRoadTop = kStreetTop + 18;

const Night& NightFor(const Scene& s) {
  return NightOf(static_cast<int>(s.mood[0]));
}

// What the city's objects depend on: the night of the level.
struct Evening {
  int mood;
  const Night& night;
};

// The street's front (lamps, people) is drawn by how low it stands, the road's traffic over it.
constexpr Depth kBackRow{20, 0}, kPavement{100, 1}, kRoad{200, 1}, kSky{-100, 0};

// Buildings and towers: a style, a colour of the night's sky (the old town's are brick), lit
// windows, and a random place in the back row so neighbours overlap either way.
void FacadeColours(Item& it, const Evening& e, Rng& rng) {
  it.variant = rng.Int(0, 7);
  it.color =
      Mix(Hsv(rng.Range(0.55, 0.75), rng.Range(0.15, 0.35), rng.Range(0.22, 0.38)), e.night.skyTop, 0.25);
  if (e.mood == 10) it.color = Hsv(rng.Range(0.02, 0.08), 0.45, rng.Range(0.35, 0.5));
  it.accent = e.night.glow;
  it.count = rng.Int(3, 6);
  it.depth = rng.Range(0, 10);
}

using Object = ObjectType<Evening>;
using enum Counting;

// One row a kind, in the order of the kinds.
constexpr Object kObjects[] = {
    {.kind = kBuilding,
     .paint = PaintBuilding,
     .size = {110, 190},
     .scenery = true,
     .depth = kBackRow,
     .palette = FacadeColours},
    {.kind = kTower,
     .paint = PaintBuilding,
     .size = {200, 260},
     .scenery = true,
     .depth = kBackRow,
     .palette = FacadeColours},
    {.kind = kSign,
     .paint = PaintSign,
     .size = {7, 9},
     .depth = kBackRow,
     .palette =
         [](Item& it, const Evening& e, Rng& rng) {
           it.variant = rng.Int(0, 9);
           it.color = e.mood == 9 ? Hsv(rng.Pick(std::vector<double>{0.85, 0.5, 0.95}), 0.6, 1.0)
                                  : Hsv(rng.Pick(std::vector<double>{0.0, 0.1, 0.15, 0.5, 0.85}), 0.55, 1.0);
           it.accent = Shade(it.color, 0.7);
         }},
    {.kind = kBalcony,
     .paint = PaintBalcony,
     .size = {20, 26},
     .recount = {kAlways, 5},
     .depth = kBackRow,
     .palette =
         [](Item& it, const Evening& e, Rng& rng) {
           it.color = Hsv(rng.Range(0.25, 0.35), 0.6, 0.55);
           it.accent = e.night.glow;
           it.count = rng.Int(2, 4);
         }},
    {.kind = kWaterTank,
     .paint = PaintWaterTank,
     .size = {18, 24},
     .depth = kBackRow,
     .palette = [](Item& it, const Evening&, Rng&) { it.color = Hex(0x6A4A3A); }},
    {.kind = kAntenna,
     .paint = PaintAntenna,
     .size = {22, 34},
     .recount = {kAlways, 3},
     .depth = kBackRow,
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.color = Hex(0xFF4A3A);
           it.count = rng.Int(1, 3);
         }},
    {.kind = kClock,
     .paint = PaintClock,
     .size = {14, 18},
     .depth = kBackRow,
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.color = Hex(0x5A4A3A);
           it.angle = rng.Range(0, 6.28);
         }},
    {.kind = kFlag,
     .paint = PaintFlag,
     .size = {18, 24},
     .mirrorable = true,
     .depth = kBackRow,
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.color = Hsv(rng.Uniform(), 0.7, 0.85);
           it.accent = Hex(0xFFFFFF);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kLamp,
     .paint = PaintLamp,
     .size = {40, 48},
     .mirrorable = true,
     .depth = kPavement,
     .palette =
         [](Item& it, const Evening& e, Rng& rng) {
           it.color = e.night.glow;
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kCar,
     .paint = PaintCar,
     .size = {44, 54},
     .mirrorable = true,
     .depth = kRoad,
     .palette =
         [](Item& it, const Evening& e, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.0, 0.6, 0.12, 0.33, 0.75, 0.95}),
                          rng.Range(0.5, 0.8), rng.Range(0.55, 0.9));
           it.accent = e.night.glow;
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kBus,
     .paint = PaintBus,
     .size = {70, 84},
     .recount = {kAlways, 7},
     .mirrorable = true,
     .depth = kRoad,
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.0, 0.12, 0.33, 0.58}), 0.65, 0.8);
           it.accent = Hex(0xFFF0C8);
           it.count = rng.Int(3, 5);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kTrafficLight,
     .paint = PaintTrafficLight,
     .size = {30, 36},
     .recount = {kAlways, 2},
     .depth = kPavement,
     .palette = [](Item& it, const Evening&, Rng& rng) { it.count = rng.Int(0, 2); }},
    {.kind = kHydrant,
     .paint = PaintHydrant,
     .size = {10, 13},
     .depth = kPavement,
     .palette = [](Item& it, const Evening&,
                   Rng& rng) { it.color = rng.Chance(0.7) ? Hex(0xD83A2A) : Hex(0xE8C030); }},
    {.kind = kBench,
     .paint = PaintBench,
     .size = {22, 28},
     .depth = kPavement,
     .palette = [](Item& it, const Evening&, Rng&) { it.color = Hex(0x7A5236); }},
    {.kind = kTreePot,
     .paint = PaintTreePot,
     .size = {26, 34},
     .depth = kPavement,
     .palette =
         [](Item& it, const Evening& e, Rng& rng) {
           it.color = e.night.snow ? Hex(0xD8E4EC) : Hsv(rng.Range(0.25, 0.35), 0.55, 0.45);
           it.accent = Hex(0x6A5A50);
         }},
    {.kind = kPerson,
     .paint = PaintPerson,
     .size = {24, 30},
     .mirrorable = true,
     .depth = kPavement,
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.variant = rng.Chance(0.3) ? 1 : 0;
           it.color = Hsv(rng.Uniform(), 0.55, 0.7);
           it.accent = Hsv(rng.Uniform(), 0.6, 0.8);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kCat,
     .paint = PaintCat,
     .size = {12, 15},
     .mirrorable = true,
     .depth = kPavement,
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.color = Hex(0x181820);
           it.accent = Hex(0xE0F060);
           it.flip = rng.Chance(0.5);
         }},
    // The full moon of its night is twice the size.
    {.kind = kMoon,
     .paint = PaintMoon,
     .depth = Depth{-200, 0},
     .palette = [](Item& it, const Evening& e,
                   Rng& rng) { it.size = e.mood == 5 ? rng.Range(46, 56) : rng.Range(24, 32); }},
    {.kind = kCloud,
     .paint = PaintCloud,
     .size = {50, 80},
     .depth = Depth{-150, 0.01},
     .palette = [](Item& it, const Evening& e,
                   Rng&) { it.color = Mix(e.night.skyLow, Hex(0xFFFFFF), 0.25); }},
    {.kind = kBirds,
     .paint = PaintBirds,
     .size = {30, 40},
     .recount = {kAlways, 9},
     .depth = kSky,
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.color = Hex(0x101018);
           it.count = rng.Int(3, 6);
         }},
    {.kind = kPlane,
     .paint = PaintPlane,
     .size = {24, 30},
     .mirrorable = true,
     .depth = kSky,
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.color = Hex(0x2A2A36);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kBalloon,
     .paint = PaintBalloon,
     .size = {16, 20},
     .depth = kSky,
     .palette = [](Item& it, const Evening&, Rng& rng) { it.color = Hsv(rng.Uniform(), 0.7, 0.95); }},
    {.kind = kFirework,
     .paint = PaintFirework,
     .size = {36, 52},
     .recount = {kAlways, 16},
     .depth = kSky,
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.color = Hsv(rng.Uniform(), 0.6, 1.0);
           it.accent = Hex(0xFFFFFF);
           it.count = rng.Int(8, 13);
         }},
    {.kind = kLantern,
     .paint = PaintLantern,
     .size = {60, 90},
     .recount = {kAlways, 8},
     .depth = Depth{50, 0},
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.0, 0.08, 0.13}), 0.7, 1.0);
           it.count = rng.Int(4, 7);
         }},
    {.kind = kBoat,
     .paint = PaintBoat,
     .size = {40, 56},
     .mirrorable = true,
     .depth = kRoad,
     .palette =
         [](Item& it, const Evening& e, Rng& rng) {
           it.color = Hsv(rng.Uniform(), 0.4, 0.85);
           it.accent = e.night.glow;
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kStars,
     .paint = PaintStars,
     .size = {28, 40},
     .recount = {kAlways, 7},
     .depth = Depth{-120, 0},
     .palette =
         [](Item& it, const Evening&, Rng& rng) {
           it.color = Hex(0xFFF6D8);
           it.count = rng.Int(3, 6);
         }},
};

class City : public TableTheme<Evening> {
 public:
  City() : TableTheme(kObjects) {}

  std::string PackName() const override { return "City Nights"; }
  std::string Description() const override {
    return "When the sun goes down the city lights up:[e]neon signs, busy streets and rooftops[e]under the "
           "moon.";
  }
  bool Vertical() const override { return true; }

  Scene Compose(int level, Rng& rng) const override {
    Scene scene = NewScene(level, rng);
    const int mood = (level - 1) % kNights;
    scene.mood = {static_cast<double>(mood)};
    static const char* kStreets[] = {"Main Street", "Harbour Road", "Station Square", "Park Lane",
                                     "Old Market",  "River Walk",   "Hill Street",    "Canal Row"};
    scene.caption = std::string(NightOf(mood).name) + "[e]on " + kStreets[rng.Int(0, 7)];
    Populate(scene, mood, rng);
    return scene;
  }

  void PaintBackground(cairo_t* cr, const Scene& scene) const override {
    const Night& n = NightFor(scene);
    const double W = scene.width, H = scene.height;
    Rng rng(scene.seed);
    scenery::Gradient(cr, 0, 0, W, kStreetTop,
                      {{0, n.skyTop}, {0.75, Mix(n.skyTop, n.skyLow, 0.7)}, {1, n.skyLow}});
    scenery::Stars(cr, rng, W, kStreetTop * 0.55, n.fog ? 10 : 70, 0.8);
    // A far skyline in the haze, with a few lights.
    Rgb far = Mix(n.skyLow, n.skyTop, 0.45);
    double x = -5;
    while (x < W) {
      double w = rng.Range(14, 30), h = rng.Range(90, 190);
      cairo_rectangle(cr, x, kStreetTop - h, w, h);
      art::Fill(cr, far);
      for (int k = 0; k < 10; ++k) {
        cairo_rectangle(cr, x + rng.Range(2, w - 4), kStreetTop - h + rng.Range(6, h - 10), 2, 2.5);
        art::Fill(cr, n.glow, 0.5);
      }
      x += w + rng.Range(-2, 4);
    }
    // Pavement and road (or the harbour's water).
    cairo_rectangle(cr, 0, kStreetTop, W, kRoadTop - kStreetTop);
    art::FillVertical(cr, kStreetTop, kRoadTop, Shade(n.street, 1.5), Shade(n.street, 1.2));
    art::StrokeLine(cr, 0, kRoadTop, W, kRoadTop, 2, Shade(n.street, 1.8));
    if (n.harbour) {
      cairo_rectangle(cr, 0, kRoadTop + 1, W, H - kRoadTop);
      art::FillVertical(cr, kRoadTop, H, Mix(n.skyLow, n.street, 0.5), n.skyTop);
      for (int k = 0; k < 70; ++k) {
        double rx = rng.Range(0, W), ry = rng.Range(kRoadTop + 3, H);
        art::StrokeLine(cr, rx, ry, rx + rng.Range(3, 12), ry, 1, rng.Chance(0.5) ? n.glow : Hex(0xFFFFFF),
                        rng.Range(0.15, 0.5));
      }
    } else {
      cairo_rectangle(cr, 0, kRoadTop + 1, W, H - kRoadTop);
      art::FillVertical(cr, kRoadTop, H, n.street, Shade(n.street, 0.7));
      for (double dx = 4; dx < W; dx += 32) {
        cairo_rectangle(cr, dx, 366, 16, 2.5);
        art::Fill(cr, Hex(0xF0E8C8), n.snow ? 0.4 : 0.8);
      }
      if (n.rain)
        for (int k = 0; k < 8; ++k) {
          art::Ellipse(cr, rng.Range(0, W), rng.Range(kRoadTop + 8, H - 4), rng.Range(8, 20),
                       rng.Range(2, 4));
          art::Fill(cr, n.glow, 0.2);
        }
    }
  }

  void PaintOverlay(cairo_t* cr, const Scene& scene) const override {
    const Night& n = NightFor(scene);
    Rng rng(scene.seed ^ 0x5EED);
    if (n.rain) {
      for (int k = 0; k < 160; ++k) {
        double x = rng.Range(-20, scene.width), y = rng.Range(-10, scene.height);
        art::StrokeLine(cr, x, y, x + 3, y + 11, 0.7, Hex(0xC8D8F0), 0.35);
      }
    }
    if (n.snow) {
      for (int k = 0; k < 140; ++k) {
        double r = rng.Range(0.6, 1.8);
        art::Ellipse(cr, rng.Range(0, scene.width), rng.Range(0, scene.height), r, r);
        art::Fill(cr, Hex(0xFFFFFF), 0.8);
      }
    }
    if (n.fog) {
      cairo_rectangle(cr, 0, 0, scene.width, scene.height);
      art::FillVertical(cr, 0, scene.height, n.skyLow, n.skyLow, 0.18);
    }
  }

  Item NewItem(const Scene& scene, Rng& rng, double x, double y) const override {
    const int mood = static_cast<int>(scene.mood[0]);
    if (y > kRoadTop + 10) {
      if (NightOf(mood).harbour) return MakeItem(kBoat, mood, rng, x, std::max(y, kRoadTop + 20));
      return MakeItem(rng.Chance(0.8) ? kCar : kBus, mood, rng, x, rng.Range(352, 374));
    }
    if (y > kStreetTop - 40) {
      int kind = rng.Pick(std::vector<int>{kPerson, kHydrant, kBench, kTreePot, kCat, kLamp});
      return MakeItem(kind, mood, rng, x, rng.Range(kStreetTop + 4, kRoadTop - 2));
    }
    // Signs and windows go on a wall; anywhere else the new thing is in the sky.
    for (const Item& b : scene.items) {
      if (b.kind != kBuilding && b.kind != kTower) continue;
      const double half = b.size * (0.3 + 0.1 * (b.variant % 3)) / 2;
      if (std::fabs(x - b.x) < half * 0.6 && y > b.y - b.size + 24 && y < kStreetTop - 40)
        return MakeItem(rng.Pick(std::vector<int>{kSign, kBalcony, kSign}), mood, rng, x, y);
    }
    return MakeItem(rng.Pick(std::vector<int>{kBirds, kPlane, kBalloon, kCloud, kStars}), mood, rng, x,
                    std::min(y, 130.0));
  }

 private:
  Item MakeItem(int kind, int mood, Rng& rng, double x, double y) const {
    return Make(kind, Evening{mood, NightOf(mood)}, rng, x, y);
  }

  void Populate(Scene& scene, int mood, Rng& rng) const {
    const Night& n = NightOf(mood);
    const double W = scene.width;
    Placement spots;
    // The row of buildings along the street, from the left edge to the right.
    struct Facade {
      double left, right, top;
    };
    std::vector<Facade> facades;
    double x = -6;
    while (x < W) {
      Item b = MakeItem(rng.Chance(0.25) ? kTower : kBuilding, mood, rng, 0, kStreetTop);
      double w = b.size * (0.3 + 0.1 * (b.variant % 3));
      b.x = x + w / 2;
      facades.push_back({x, x + w, kStreetTop - b.size});
      scene.items.push_back(b);
      x += w + rng.Range(4, 16);
    }
    // Things on the buildings: signs, balconies, clocks, and on the roofs tanks, antennas, flags.
    for (const Facade& f : facades) {
      double cx = (f.left + f.right) / 2, w = f.right - f.left;
      if (cx < 8 || cx > W - 8) continue;
      double roll = rng.Uniform();
      if (roll < 0.4)
        scene.items.push_back(MakeItem(kWaterTank, mood, rng, cx + rng.Range(-0.2, 0.2) * w, f.top));
      else if (roll < 0.7)
        scene.items.push_back(MakeItem(kAntenna, mood, rng, cx + rng.Range(-0.3, 0.3) * w, f.top));
      else
        scene.items.push_back(MakeItem(kFlag, mood, rng, cx + rng.Range(-0.3, 0.1) * w, f.top));
      for (int k = 0; k < 2; ++k) {
        double sy = rng.Range(f.top + 30, kStreetTop - 30);
        if (!spots.Free(cx, sy, 18)) continue;
        spots.Take(cx, sy, 18);
        int kind = rng.Pick(std::vector<int>{kSign, kSign, kBalcony, kClock});
        scene.items.push_back(MakeItem(kind, mood, rng, cx + rng.Range(-0.15, 0.15) * w, sy));
      }
    }
    // The sky.
    scene.items.push_back(MakeItem(kMoon, mood, rng, rng.Range(40, W - 40), rng.Range(30, 80)));
    std::vector<int> sky = {kCloud, kBirds, kPlane, kStars, kStars};
    if (mood == 6) sky.insert(sky.end(), {kFirework, kFirework, kFirework});
    if (mood == 1 || mood == 11) sky.push_back(kBalloon);
    for (int kind : sky) {
      double sx, sy;
      if (spots.Find(rng, 20, 15, W - 20, 130, 24, sx, sy))
        scene.items.push_back(MakeItem(kind, mood, rng, sx, sy));
    }
    if (mood == 6 || mood == 10)
      scene.items.push_back(MakeItem(kLantern, mood, rng, rng.Range(60, W - 60), kStreetTop - 60));
    // The pavement.
    std::vector<int> street = {kLamp,    kLamp,  kPerson,  kPerson, kPerson,
                               kHydrant, kBench, kTreePot, kCat,    kTrafficLight};
    for (int kind : street) {
      for (int tries = 0; tries < 30; ++tries) {
        double px = rng.Range(10, W - 10), py = rng.Range(kStreetTop + 4, kRoadTop - 1);
        if (!spots.Free(px, py + 100, 12, 0.8)) continue;
        spots.Take(px, py + 100, 12);
        scene.items.push_back(MakeItem(kind, mood, rng, px, py));
        break;
      }
    }
    // The road, or boats on the harbour.
    int vehicles = rng.Int(3, 4);
    for (int k = 0; k < vehicles; ++k) {
      for (int tries = 0; tries < 30; ++tries) {
        double vx = rng.Range(15, W - 15),
               vy = n.harbour ? rng.Range(kRoadTop + 20, 372) : (k % 2 == 0 ? 356 : 374);
        if (!spots.Free(vx, vy + 300, 28, 0.9)) continue;
        spots.Take(vx, vy + 300, 28);
        int kind = n.harbour ? kBoat : (rng.Chance(0.25) ? kBus : kCar);
        scene.items.push_back(MakeItem(kind, mood, rng, vx, vy));
        break;
      }
    }
  }
};

}  // namespace

std::unique_ptr<Theme> MakeCityTheme() {
  return std::make_unique<City>();
}

}  // namespace datagen
