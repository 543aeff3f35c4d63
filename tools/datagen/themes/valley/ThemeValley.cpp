// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <cmath>

#include "Art.h"
#include "Math.h"
#include "Noise.h"
#include "ObjectTable.h"
#include "Placement.h"
#include "Rng.h"
#include "Scenery.h"
#include "Themes.h"
#include "ValleyProps.h"

namespace datagen {
namespace {

using namespace valley;

// What the valley's objects depend on: the level's season and time of day, and the picture's
// height, for the perspective that makes things on the ground smaller towards the horizon.
struct Land {
  const Mood& m;
  double height;
  double Perspective(double y) const { return valley::Perspective(m, y, height); }
};

// On the ground things are drawn by how low they stand; whatever flies is behind all of them.
constexpr Depth kGround{0, 1}, kAir{-500, 1};

using Object = ObjectType<Land>;
using enum Counting;

// One row a kind, in the order of the kinds.
constexpr Object kObjects[] = {
    // Blossom in spring; otherwise red or yellow fruit, or none (and never in winter).
    {.kind = kTree,
     .paint = PaintTree,
     .size = {38, 52},
     .recount = {kWhenAny, 9},
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land& l, Rng& rng) {
           it.color = Canopy(l.m.season, rng);
           it.accent = l.m.season == kSpring ? Hex(0xFFFFFF)
                       : rng.Chance(0.5)     ? Hex(0xD83828)
                                             : Hex(0xF0B020);
           it.count = (l.m.season == kWinter || rng.Chance(0.3)) ? 0 : rng.Int(3, 7);
         }},
    {.kind = kPine,
     .paint = PaintPine,
     .size = {40, 56},
     .recedes = true,
     .depth = kGround,
     .palette = [](Item& it, const Land&,
                   Rng& rng) { it.color = Hsv(rng.Range(0.3, 0.4), 0.55, rng.Range(0.32, 0.45)); }},
    {.kind = kHouse,
     .paint = PaintHouse,
     .size = {34, 42},
     .recount = {kAlways, 4},
     .mirrorable = true,
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = rng.Pick(
               std::vector<Rgb>{Hex(0xF2E6C8), Hex(0xE8C8A0), Hex(0xF0F0EA), Hex(0xD8E4F0), Hex(0xF2D0C0)});
           it.accent = rng.Pick(std::vector<Rgb>{Hex(0xB04A38), Hex(0x6A4A3A), Hex(0x4A6A8A), Hex(0x8A3A4A)});
           it.count = rng.Int(1, 3);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kBarn,
     .paint = PaintBarn,
     .size = {38, 46},
     .recount = {kAlways, 4},
     .mirrorable = true,
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = rng.Chance(0.7) ? Hex(0xB83A2E) : Hex(0x8A5A3A);
           it.accent = Hex(0xF4EEE0);
           it.count = rng.Int(1, 3);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kWindmill,
     .paint = PaintWindmill,
     .size = {58, 70},
     .recount = {kAlways, 8},
     .mirrorable = true,
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = rng.Chance(0.5) ? Hex(0xE8DCC8) : Hex(0xC8B49A);
           it.accent = Hex(0x8A4A3A);
           it.count = rng.Int(4, 6);
           it.angle = rng.Range(0, kPi);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kFence,
     .paint = PaintFence,
     .size = {40, 56},
     .recount = {kAlways, 9},
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = Hex(0x9A7A58);
           it.count = rng.Int(3, 6);
         }},
    {.kind = kSheep,
     .paint = PaintSheep,
     .size = {17, 21},
     .mirrorable = true,
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = Hex(0xF4F2EA);
           it.accent = Hex(0x2E2A2A);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kCow,
     .paint = PaintCow,
     .size = {22, 27},
     .recount = {kAlways, 9},
     .mirrorable = true,
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = rng.Chance(0.75) ? Hex(0xF6F2EC) : Hex(0xB88A5A);
           it.accent = Hex(0x2A2624);
           it.count = rng.Int(2, 5);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kFlowers,
     .paint = PaintFlowers,
     .size = {16, 22},
     .recount = {kAlways, 9},
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = Hsv(rng.Pick(std::vector<double>{0.0, 0.12, 0.15, 0.8, 0.9, 0.6}), 0.6, 1.0);
           it.accent = Hex(0xFFE060);
           it.count = rng.Int(3, 7);
         }},
    {.kind = kRock,
     .paint = PaintRock,
     .size = {12, 20},
     .recedes = true,
     .depth = kGround,
     .palette = [](Item& it, const Land&,
                   Rng& rng) { it.color = Hsv(rng.Range(0.05, 0.6), 0.08, rng.Range(0.55, 0.72)); }},
    // Berries on half of them; a bush without any may still be given some.
    {.kind = kBush,
     .paint = PaintBush,
     .size = {18, 26},
     .recount = {kAlways, 9},
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land& l, Rng& rng) {
           it.color = l.m.season == kAutumn ? Hsv(rng.Range(0.0, 0.1), 0.7, 0.7)
                                            : Hsv(rng.Range(0.26, 0.33), 0.6, 0.55);
           it.accent = rng.Chance(0.5) ? Hex(0xE03050) : Hex(0x4050C0);
           it.count = rng.Chance(0.5) ? rng.Int(3, 7) : 0;
         }},
    {.kind = kHaystack,
     .paint = PaintHaystack,
     .size = {18, 26},
     .recedes = true,
     .depth = kGround,
     .palette = [](Item& it, const Land&, Rng&) { it.color = Hex(0xE0B860); }},
    {.kind = kBalloon,
     .paint = PaintBalloon,
     .size = {26, 34},
     .recount = {kAlways, 6},
     .depth = kAir,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = Hsv(rng.Uniform(), 0.65, 0.95);
           it.accent = Hsv(rng.Uniform(), 0.5, 1.0);
           it.count = rng.Int(2, 4);
         }},
    {.kind = kBirds,
     .paint = PaintBirds,
     .size = {30, 44},
     .recount = {kAlways, 9},
     .depth = kAir,
     .palette =
         [](Item& it, const Land& l, Rng& rng) {
           it.color = l.m.time == kDusk ? Hex(0x1A1A2A) : Hex(0x3A3A44);
           it.count = rng.Int(3, 6);
         }},
    {.kind = kKite,
     .paint = PaintKite,
     .size = {16, 22},
     .mirrorable = true,
     .depth = kAir,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = Hsv(rng.Uniform(), 0.75, 0.95);
           it.accent = Hsv(rng.Uniform(), 0.6, 1.0);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kScarecrow,
     .paint = PaintScarecrow,
     .size = {28, 34},
     .mirrorable = true,
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = Hsv(rng.Uniform(), 0.5, 0.7);
           it.accent = Hex(0x7A5A30);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kSnowman,
     .paint = PaintSnowman,
     .size = {24, 30},
     .recount = {kAlways, 4},
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.accent = rng.Chance(0.5) ? Hex(0x2A2A3A) : Hex(0xB02A2A);
           it.count = rng.Int(1, 3);
         }},
    {.kind = kPumpkin,
     .paint = PaintPumpkin,
     .size = {12, 16},
     .recedes = true,
     .depth = kGround,
     .palette = [](Item& it, const Land&, Rng&) { it.color = Hex(0xF08A24); }},
    {.kind = kDuck,
     .paint = PaintDuck,
     .size = {12, 15},
     .mirrorable = true,
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = Hex(0xF6F0E0);
           it.accent = rng.Chance(0.5) ? Hex(0x2E7A4A) : Hex(0xF6F0E0);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kBoat,
     .paint = PaintBoat,
     .size = {22, 28},
     .mirrorable = true,
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng& rng) {
           it.color = Hsv(rng.Range(0.0, 0.12), 0.5, 0.6);
           it.accent = Hsv(rng.Uniform(), 0.25, 0.98);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kWell,
     .paint = PaintWell,
     .size = {22, 28},
     .recedes = true,
     .depth = kGround,
     .palette =
         [](Item& it, const Land&, Rng&) {
           it.color = Hex(0xA8A098);
           it.accent = Hex(0x8A4A3A);
         }},
};

class Valley : public TableTheme<Land> {
 public:
  Valley() : TableTheme(kObjects) {}

  std::string PackName() const override { return "Green Valley"; }
  std::string Description() const override {
    return "Farms, mills and orchards in a quiet valley[e]through the seasons, from misty spring "
           "mornings[e]to snowy "
           "winter dusks.";
  }
  bool Vertical() const override { return false; }

  Scene Compose(int level, Rng& rng) const override {
    // Twelve distinct settings: every season at every time of day, each with its own landscape.
    static const int kMoods[12][4] = {{0, 0, 2, 0}, {1, 1, 1, 1}, {2, 2, 0, 2}, {3, 1, 1, 1},
                                      {1, 2, 2, 2}, {0, 1, 0, 3}, {2, 3, 1, 0}, {3, 2, 0, 3},
                                      {1, 0, 0, 1}, {0, 2, 1, 2}, {2, 1, 2, 3}, {3, 3, 2, 0}};
    const int* m = kMoods[(level - 1) % 12];
    Scene scene = NewScene(level, rng);
    scene.mood = {static_cast<double>(m[0]), static_cast<double>(m[1]), static_cast<double>(m[2]),
                  static_cast<double>(m[3]), rng.Range(96, 124)};
    const Mood mood = MoodOf(scene);
    scene.caption = CaptionFor(mood, rng);
    Populate(scene, mood, rng);
    return scene;
  }

  void PaintBackground(cairo_t* cr, const Scene& scene) const override {
    const Mood m = MoodOf(scene);
    const double w = scene.width, h = scene.height;
    Rng rng(scene.seed);
    SkyColours sky = SkyFor(m);
    scenery::Gradient(cr, 0, 0, w, m.horizon + 10, {{0, sky.top}, {0.7, sky.middle}, {1, sky.low}});
    // Sun or moon, and soft clouds.
    const double sunX = w * rng.Range(0.15, 0.85);
    const double sunY = m.time == kNoon      ? m.horizon * 0.25
                        : m.time == kMorning ? m.horizon * 0.55
                                             : m.horizon * 0.7;
    art::Glow(cr, sunX, sunY, m.time == kDusk ? 45 : 80, sky.sun, 0.55);
    art::Ellipse(cr, sunX, sunY, m.time == kDusk ? 9 : 12, m.time == kDusk ? 9 : 12);
    art::Fill(cr, sky.sun);
    if (m.time == kDusk) scenery::Stars(cr, rng, w, m.horizon * 0.7, 40, 0.7);
    for (int k = 0; k < 5; ++k) {
      double cx = rng.Range(0, w), cy = rng.Range(m.horizon * 0.1, m.horizon * 0.65), cw = rng.Range(30, 70);
      for (int b = 0; b < 5; ++b) {
        double bx = cx + rng.Range(-0.5, 0.5) * cw, by = cy + rng.Range(-0.12, 0.1) * cw;
        art::Ellipse(cr, bx, by, cw * rng.Range(0.25, 0.4), cw * rng.Range(0.12, 0.2));
        art::FillVertical(cr, by - cw * 0.2, by + cw * 0.2, sky.cloudLit, sky.cloudShade, 0.85);
      }
    }
    Noise far(rng.Next()), mid(rng.Next()), near(rng.Next());
    Rgb haze = sky.low;
    scenery::Ridge(cr, far, w, m.horizon - 22, 24, 90, m.horizon + 4, Mix(Hex(0x7A8CB0), haze, 0.35),
                   Mix(Hex(0x8AA0B8), haze, 0.5));
    if (m.season == kWinter) {
      scenery::Ridge(cr, far, w, m.horizon - 24, 22, 90, m.horizon - 8, Hex(0xF4F8FF),
                     Mix(Hex(0xF4F8FF), haze, 0.4));
    }
    Rgb hillsTop = Mix(GrassFar(m.season), haze, 0.35), hillsLow = GrassFar(m.season);
    scenery::Ridge(cr, mid, w, m.horizon - 6, 12, 70, m.horizon + 14, hillsTop, hillsLow);
    // Patchwork fields on the slope below the hills.
    cairo_rectangle(cr, 0, m.horizon + 2, w, h - m.horizon);
    art::FillVertical(cr, m.horizon, h, GrassFar(m.season), GrassNear(m.season));
    for (int row = 0; row < 4; ++row) {
      double y0 = m.horizon + 4 + row * row * 3.5 + row * 4, y1 = y0 + 4 + row * 3;
      double x = -10;
      while (x < w) {
        double fw = rng.Range(30, 80) * (1 + row * 0.5);
        art::Polygon(cr, {{x, y0}, {x + fw, y0 - 1}, {x + fw + 4, y1}, {x - 4, y1 + 1}});
        Rgb field = Shade(
            Mix(GrassFar(m.season), rng.Chance(0.3) ? Hex(0xD8C070) : GrassNear(m.season), rng.Uniform()),
            rng.Range(0.88, 1.08));
        art::Fill(cr, field, 0.6);
        x += fw + rng.Range(2, 6);
      }
    }
    PaintWater(cr, scene, m, rng);
    // Grass strokes in the foreground.
    for (int k = 0; k < 260; ++k) {
      double gx = rng.Range(0, w), gy = rng.Range(h * 0.7, h + 2);
      double gh = rng.Range(2, 6) * (gy / h);
      if (OnWater(m, gx, gy, w)) continue;
      art::StrokeLine(cr, gx, gy, gx + rng.Range(-1.5, 1.5), gy - gh, 0.8,
                      Shade(GrassNear(m.season), rng.Range(0.7, 1.2)), 0.7);
    }
  }

  void PaintOverlay(cairo_t* cr, const Scene& scene) const override {
    const Mood m = MoodOf(scene);
    Rgb tint = m.time == kGolden    ? Hex(0xFFE0B8)
               : m.time == kDusk    ? Hex(0xB8B0E0)
               : m.time == kMorning ? Hex(0xF0F4FF)
                                    : Hex(0xFFFFFF);
    cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY);
    art::SetColor(cr, tint);
    cairo_paint(cr);
  }

  Item NewItem(const Scene& scene, Rng& rng, double x, double y) const override {
    const Mood m = MoodOf(scene);
    if (y < m.horizon - 8) {
      int kind = rng.Pick(std::vector<int>{kBalloon, kBirds, kKite});
      return MakeItem(kind, m, rng, x, std::min(y, m.horizon - 30), scene.height);
    }
    if (OnWater(m, x, y, scene.width))
      return MakeItem(rng.Chance(0.5) ? kDuck : kBoat, m, rng, x, y, scene.height);
    std::vector<int> kinds = {kTree, kBush, kRock, kSheep, kHaystack, kWell, kFence, kPine};
    if (m.season == kWinter)
      kinds = {kSnowman, kPine, kRock, kFence, kWell, kTree};
    else if (m.season == kAutumn)
      kinds.push_back(kPumpkin);
    else
      kinds.push_back(kFlowers);
    return MakeItem(rng.Pick(kinds), m, rng, x, std::max(y, m.horizon + 12), scene.height);
  }

 private:
  struct SkyColours {
    Rgb top, middle, low, sun, cloudLit, cloudShade;
  };

  static SkyColours SkyFor(const Mood& m) {
    switch (m.time) {
      case kMorning:
        return {Hex(0x8CB8E8), Hex(0xC8DCF0), Hex(0xF6E2D0), Hex(0xFFF2D0), Hex(0xFFFFFF), Hex(0xE0D8E8)};
      case kNoon:
        return {Hex(0x4F8FD8), Hex(0x8CC0EE), Hex(0xD8ECF8), Hex(0xFFFBE8), Hex(0xFFFFFF), Hex(0xD0DCEC)};
      case kGolden:
        return {Hex(0x6A8CC8), Hex(0xE8B890), Hex(0xFFD49A), Hex(0xFFE6A0), Hex(0xFFE8C8), Hex(0xD89A88)};
      default:
        return {Hex(0x1E2450), Hex(0x5A4A88), Hex(0xE08A78), Hex(0xFFF0D0), Hex(0xC8A0B8), Hex(0x5A5080)};
    }
  }

  static void PaintWater(cairo_t* cr, const Scene& scene, const Mood& m, Rng& rng) {
    const double w = scene.width, h = scene.height;
    if (m.water == kDry) return;
    const SkyColours sky = SkyFor(m);
    Rgb deep = m.season == kWinter ? Hex(0xA8C8DC) : Hex(0x4A88B8), light = Mix(sky.low, deep, 0.4);
    if (m.water == kLake) {
      art::Ellipse(cr, w * 0.55, m.horizon + 16, w * 0.32, 15);
      art::FillVertical(cr, m.horizon, m.horizon + 32, light, deep);
      for (int k = 0; k < 30; ++k) {
        double y = rng.Range(m.horizon + 6, m.horizon + 28), x = rng.Range(w * 0.3, w * 0.8);
        art::StrokeLine(cr, x, y, x + rng.Range(4, 12), y, 0.7, Hex(0xFFFFFF), 0.35);
      }
      return;
    }
    cairo_move_to(cr, w * 0.55 - 6, m.horizon);
    for (double y = m.horizon; y <= h + 4; y += 4) {
      double centre = w * 0.55 + std::sin((y - m.horizon) / 40.0) * 40 + (y - m.horizon) * 0.6;
      cairo_line_to(cr, centre - (6 + (y - m.horizon) * 0.22), y);
    }
    for (double y = h + 4; y >= m.horizon; y -= 4) {
      double centre = w * 0.55 + std::sin((y - m.horizon) / 40.0) * 40 + (y - m.horizon) * 0.6;
      cairo_line_to(cr, centre + (6 + (y - m.horizon) * 0.22), y);
    }
    cairo_close_path(cr);
    art::FillVertical(cr, m.horizon, h, light, deep, 1, true);
    art::Stroke(cr, 2, Shade(GrassNear(m.season), 0.7), 0.6);
    for (int k = 0; k < 40; ++k) {
      double y = rng.Range(m.horizon + 4, h);
      double centre = w * 0.55 + std::sin((y - m.horizon) / 40.0) * 40 + (y - m.horizon) * 0.6;
      double half = 6 + (y - m.horizon) * 0.22;
      double x = centre + rng.Range(-0.7, 0.5) * half;
      art::StrokeLine(cr, x, y, x + half * 0.3, y, 0.7, Hex(0xFFFFFF), 0.35);
    }
  }

  static std::string CaptionFor(const Mood& m, Rng& rng) {
    static const char* kPlaces[] = {"on the farm", "in the village", "in the orchard", "by the forest"};
    std::string water = m.water == kLake    ? "at the lake"
                        : m.water == kRiver ? "along the river"
                                            : "on the hills";
    std::string first = std::string(kSeasonNames[m.season]) + " " + kTimeNames[m.time];
    return first + "[e]" + (rng.Chance(0.5) ? kPlaces[m.layout] : water);
  }

  Item MakeItem(int kind, const Mood& m, Rng& rng, double x, double y, double height) const {
    return Make(kind, Land{m, height}, rng, x, y);
  }

  void Populate(Scene& scene, const Mood& m, Rng& rng) const {
    const double w = scene.width, h = scene.height;
    Placement spots;
    auto place = [&](int kind, double y0, double y1, double radius) {
      double x, y;
      for (int tries = 0; tries < 40; ++tries) {
        if (!spots.Find(rng, w * 0.03, y0, w * 0.97, y1, radius, x, y, 0.75, 1)) continue;
        if (kind != kDuck && kind != kBoat && OnWater(m, x, y, w)) continue;
        scene.items.push_back(MakeItem(kind, m, rng, x, y, h));
        return;
      }
    };
    const double ground0 = m.horizon + 10;
    // Landmarks first (larger), then animals and small things.
    std::vector<int> landmarks;
    switch (m.layout) {
      case kFarm:
        landmarks = {kBarn, kHouse, kWindmill, kHaystack, kHaystack, kScarecrow, kWell};
        break;
      case kVillage:
        landmarks = {kHouse, kHouse, kHouse, kHouse, kWell, kWindmill};
        break;
      case kOrchard:
        landmarks = {kHouse, kBarn, kTree, kTree, kTree, kTree, kTree};
        break;
      default:
        landmarks = {kHouse, kPine, kPine, kPine, kPine, kPine, kPine};
        break;
    }
    if (m.season == kWinter)
      std::replace(landmarks.begin(), landmarks.end(), static_cast<int>(kScarecrow),
                   static_cast<int>(kSnowman));
    for (int kind : landmarks) place(kind, ground0, h * 0.8, 20);
    for (int k = 0; k < 8; ++k) place(rng.Chance(0.6) ? kTree : kPine, ground0 - 4, h * 0.9, 14);
    for (int k = 0; k < 3; ++k) place(kFence, ground0 + 20, h * 0.95, 16);
    const bool animals = m.season != kWinter;
    for (int k = 0; k < (animals ? 9 : 0); ++k)
      place(rng.Chance(0.6) ? kSheep : kCow, ground0 + 8, h * 0.95, 9);
    for (int k = 0; k < 12; ++k) {
      int kind = rng.Pick(std::vector<int>{kBush, kRock, kBush, kFlowers});
      if (m.season == kWinter && kind == kFlowers) kind = kSnowman;
      if (m.season == kAutumn && kind == kFlowers) kind = kPumpkin;
      place(kind, ground0 + 10, h * 0.98, 8);
    }
    if (m.water != kDry)
      for (int k = 0; k < 4; ++k) {
        double x, y;
        for (int tries = 0; tries < 60; ++tries) {
          x = rng.Range(w * 0.1, w * 0.95);
          y = rng.Range(m.horizon + 6, m.water == kLake ? m.horizon + 28 : h * 0.95);
          if (OnWater(m, x, y, w) && spots.Free(x, y, 7)) {
            spots.Take(x, y, 7);
            scene.items.push_back(MakeItem(rng.Chance(0.6) ? kDuck : kBoat, m, rng, x, y, h));
            break;
          }
        }
      }
    // Things in the sky.
    for (int k = 0; k < 4; ++k) {
      double x, y;
      if (spots.Find(rng, w * 0.05, m.horizon * 0.15, w * 0.95, m.horizon * 0.7, 16, x, y))
        scene.items.push_back(
            MakeItem(rng.Pick(std::vector<int>{kBalloon, kBirds, kBirds, kKite}), m, rng, x, y, h));
    }
  }
};

}  // namespace

std::unique_ptr<Theme> MakeValleyTheme() {
  return std::make_unique<Valley>();
}

}  // namespace datagen
