// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <cmath>

#include "Art.h"
#include "Filters.h"
#include "KitchenProps.h"
#include "Math.h"
#include "Noise.h"
#include "ObjectTable.h"
#include "Placement.h"
#include "Rng.h"
#include "Themes.h"

namespace datagen {
namespace {

using namespace kitchen;

const Table& TableFor(const Scene& s) {
  return TableOf(static_cast<int>(s.mood[0]));
}

// What the kitchen's objects depend on: the meal the table is laid for.
struct Meal {
  int mood;
  // Seen from above, everything lies at some turn and in some layer; the table's rows lift most
  // kinds to a layer of their own.
  void Lay(Item& it, Rng& rng) const {
    it.depth = rng.Range(0, 1);
    it.angle = rng.Range(-kPi, kPi);
  }
};

// The layers: plates and dishes at the bottom, pots above them, food on them, flowers on top.
constexpr std::optional<Depth> kAsLaid = std::nullopt;
constexpr Depth kDish{1, 0}, kPot{2, 0}, kFood{3, 0}, kTall{4, 0};

// One of a few hues, a little off.
double PickHue(Rng& rng, const std::vector<double>& hues) {
  return rng.Pick(hues) + rng.Range(-0.02, 0.02);
}

// What each meal serves on most plates.
constexpr int kMenu[kTables] = {kFriedEgg, kSlice, kSalad, kToast, kPasta,   kSalad,
                                kNothing,  kSlice, kSushi, kSalad, kNothing, kPancakes};

void CutleryColours(Item& it, const Meal&, Rng& rng) {
  it.color = Hex(0xC8CCD4);
  it.flip = rng.Chance(0.5);
}

using Object = ObjectType<Meal>;
using enum Counting;

// One row a kind, in the order of the kinds.
constexpr Object kObjects[] = {
    {.kind = kPlate,
     .paint = PaintPlate,
     .size = {56, 72},
     .recount = {kWhenAny, 9},
     .depth = kDish,
     .palette =
         [](Item& it, const Meal& m, Rng& rng) {
           it.color = rng.Chance(0.7) ? Hex(0xFAFAF6) : Hsv(PickHue(rng, {0.55, 0.1, 0.95}), 0.25, 0.95);
           it.variant = rng.Chance(0.75) ? kMenu[m.mood] : rng.Int(0, 7);
           it.accent = rng.Pick(std::vector<Rgb>{Hex(0x6AB040), Hex(0xD83030), Hex(0x3A2A3A), Hex(0xF0C040)});
           it.count = rng.Chance(0.7) ? rng.Int(2, 6) : 0;
         }},
    {.kind = kBowl,
     .paint = PaintBowl,
     .size = {46, 58},
     .recount = {kAlways, 9},
     .depth = kDish,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hsv(PickHue(rng, {0.55, 0.08, 0.6, 0.95, 0.3}), 0.45, 0.85);
           it.accent = rng.Pick(std::vector<Rgb>{Hex(0xD82840), Hex(0xF08A20), Hex(0x7A40A0), Hex(0x60B040)});
           it.count = rng.Int(3, 7);
         }},
    {.kind = kCup,
     .paint = PaintCup,
     .size = {28, 34},
     .mirrorable = true,
     .depth = kAsLaid,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hsv(PickHue(rng, {0.55, 0.0, 0.1, 0.33, 0.8}), 0.45, 0.9);
           it.accent = rng.Chance(0.6) ? Hex(0x6A3E22) : Hex(0xC88A50);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kGlass,
     .paint = PaintGlass,
     .size = {24, 30},
     .depth = kAsLaid,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = rng.Pick(std::vector<Rgb>{Hex(0xF8A020), Hex(0xE8F0F8), Hex(0xB02838), Hex(0xF0E070)});
         }},
    {.kind = kTeapot,
     .paint = PaintTeapot,
     .size = {44, 54},
     .mirrorable = true,
     .depth = kPot,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hsv(PickHue(rng, {0.55, 0.08, 0.95, 0.45}), 0.45, 0.85);
           it.accent = Hex(0xF0E0A0);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kFork,
     .paint = PaintFork,
     .size = {48, 58},
     .mirrorable = true,
     .depth = kAsLaid,
     .palette = CutleryColours},
    {.kind = kKnife,
     .paint = PaintKnife,
     .size = {48, 58},
     .mirrorable = true,
     .depth = kAsLaid,
     .palette = CutleryColours},
    {.kind = kSpoon, .paint = PaintSpoon, .size = {48, 58}, .depth = kAsLaid, .palette = CutleryColours},
    {.kind = kNapkin,
     .paint = PaintNapkin,
     .size = {34, 44},
     .mirrorable = true,
     .depth = Depth{0, 0},
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hsv(rng.Uniform(), 0.4, 0.9);
           it.accent = Hex(0xFFFFFF);
         }},
    {.kind = kApple,
     .paint = PaintApple,
     .size = {22, 28},
     .mirrorable = true,
     .depth = kFood,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = rng.Chance(0.6) ? Hex(0xD82A28) : Hex(0x8AC040);
           it.accent = Hex(0x4A9A30);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kOrange,
     .paint = PaintOrange,
     .size = {22, 28},
     .depth = kFood,
     .palette = [](Item& it, const Meal&, Rng&) { it.color = Hex(0xF59020); }},
    {.kind = kLemon,
     .paint = PaintLemon,
     .size = {22, 28},
     .recount = {kAlways, 12},
     .depth = kFood,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = rng.Chance(0.7) ? Hex(0xF6D838) : Hex(0x9AD040);
           it.count = rng.Int(6, 9);
         }},
    {.kind = kBanana,
     .paint = PaintBanana,
     .size = {40, 50},
     .mirrorable = true,
     .depth = kFood,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hex(0xF4D040);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kGrapes,
     .paint = PaintGrapes,
     .size = {30, 38},
     .recount = {kAlways, 12},
     .depth = kFood,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = rng.Chance(0.5) ? Hex(0x7A3A8A) : Hex(0xB8D860);
           it.count = rng.Int(7, 11);
         }},
    {.kind = kCherries,
     .paint = PaintCherries,
     .size = {26, 32},
     .recount = {kAlways, 9},
     .depth = kFood,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hex(0xB81830);
           it.count = rng.Int(3, 6);
         }},
    {.kind = kStrawberry,
     .paint = PaintStrawberry,
     .size = {18, 22},
     .mirrorable = true,
     .depth = kFood,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hex(0xE02838);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kCookie,
     .paint = PaintCookie,
     .size = {24, 30},
     .recount = {kAlways, 9},
     .depth = kFood,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hex(0xD8A060);
           it.accent = Hex(0x4A2A18);
           it.count = rng.Int(3, 6);
         }},
    {.kind = kDonut,
     .paint = PaintDonut,
     .size = {30, 36},
     .recount = {kAlways, 14},
     .depth = kFood,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hsv(PickHue(rng, {0.92, 0.05, 0.6, 0.12}), 0.4, 0.95);
           it.count = rng.Int(6, 12);
         }},
    {.kind = kCake,
     .paint = PaintCake,
     .size = {70, 84},
     .recount = {kAlways, 9},
     .depth = kDish,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hsv(PickHue(rng, {0.92, 0.08, 0.55, 0.12}), 0.35, 0.95);
           it.accent = Hsv(rng.Uniform(), 0.5, 0.95);
           it.count = rng.Int(3, 7);
         }},
    {.kind = kBread,
     .paint = PaintBread,
     .size = {56, 68},
     .recount = {kAlways, 6},
     .depth = kPot,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hex(0xC8843A);
           it.count = rng.Int(3, 5);
         }},
    {.kind = kCheese,
     .paint = PaintCheese,
     .size = {34, 42},
     .recount = {kAlways, 7},
     .mirrorable = true,
     .depth = kPot,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hex(0xF6CC50);
           it.count = rng.Int(3, 6);
           it.flip = rng.Chance(0.5);
         }},
    {.kind = kEgg,
     .paint = PaintEgg,
     .size = {20, 24},
     .depth = kFood,
     .palette = [](Item& it, const Meal&,
                   Rng& rng) { it.color = rng.Chance(0.5) ? Hex(0xF8F0E0) : Hex(0xE0B080); }},
    {.kind = kJar,
     .paint = PaintJar,
     .size = {30, 36},
     .depth = kPot,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hsv(rng.Uniform(), 0.5, 0.8);
           it.accent = Hex(0xF4ECD8);
         }},
    {.kind = kShaker,
     .paint = PaintShaker,
     .size = {18, 22},
     .recount = {kAlways, 7},
     .depth = kPot,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = rng.Chance(0.5) ? Hex(0x303030) : Hex(0x8A8A8A);
           it.count = rng.Int(3, 5);
         }},
    {.kind = kVase,
     .paint = PaintVase,
     .size = {46, 56},
     .recount = {kAlways, 7},
     .depth = kTall,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hsv(PickHue(rng, {0.0, 0.9, 0.13, 0.75}), 0.55, 0.98);
           it.accent = Hex(0x3A7A50);
           it.count = rng.Int(3, 6);
         }},
    {.kind = kCandle,
     .paint = PaintCandle,
     .size = {18, 22},
     .depth = kTall,
     .palette = [](Item& it, const Meal&, Rng&) { it.color = Hex(0xF8F0E0); }},
    {.kind = kTomato,
     .paint = PaintTomato,
     .size = {22, 28},
     .depth = kFood,
     .palette = [](Item& it, const Meal&, Rng&) { it.color = Hex(0xE03020); }},
    {.kind = kLeaf,
     .paint = PaintLeaf,
     .size = {20, 28},
     .depth = kFood,
     .palette = [](Item& it, const Meal&, Rng& rng) { it.color = Hsv(rng.Range(0.22, 0.33), 0.6, 0.6); }},
    {.kind = kSugar,
     .paint = PaintSugar,
     .size = {34, 40},
     .recount = {kAlways, 8},
     .depth = kPot,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.color = Hsv(PickHue(rng, {0.55, 0.1}), 0.35, 0.9);
           it.count = rng.Int(3, 6);
         }},
    {.kind = kPizza,
     .paint = PaintPizza,
     .size = {84, 96},
     .recount = {kAlways, 9},
     .depth = kDish,
     .palette =
         [](Item& it, const Meal&, Rng& rng) {
           it.accent = Hex(0xA82818);
           it.count = rng.Int(4, 8);
         }},
};

class Kitchen : public TableTheme<Meal> {
 public:
  Kitchen() : TableTheme(kObjects) {}

  std::string PackName() const override { return "Kitchen Table"; }
  std::string Description() const override {
    return "Breakfast, tea and birthday cake:[e]a table seen from above, laid for[e]every meal of the week.";
  }
  bool Vertical() const override { return false; }

  Scene Compose(int level, Rng& rng) const override {
    Scene scene = NewScene(level, rng);
    const int mood = (level - 1) % kTables;
    scene.mood = {static_cast<double>(mood), rng.Range(-0.3, 0.3)};
    static const char* kTails[] = {"smells good",     "help yourself", "who took a bite?",
                                   "set for friends", "still warm",    "one more?"};
    scene.caption = std::string(TableOf(mood).name) + "[e]" + kTails[rng.Int(0, 5)];
    Populate(scene, mood, rng);
    return scene;
  }

  void PaintBackground(cairo_t* cr, const Scene& scene) const override {
    const Table& t = TableFor(scene);
    const double W = scene.width, H = scene.height;
    Noise noise(scene.seed);
    Canvas surface(scene.width, scene.height);
    const double turn = scene.mood[1];
    switch (t.surface) {
      case 0:  // wooden planks with grain
        FillPixels(surface, [&](int x, int y) {
          double u = x * std::cos(turn) + y * std::sin(turn), v = -x * std::sin(turn) + y * std::cos(turn);
          double plank = std::floor(v / 42.0);
          double grain = noise.Fbm(u / 90.0 + plank * 13.1, v / 6.0, 4);
          double ring = 0.5 + 0.5 * std::sin(grain * 18 + u / 40.0);
          double edge = std::fmod(v, 42.0) < 1.6 ? 0.55 : 1.0;
          Rgb c = Mix(t.base, t.pattern, 0.25 + 0.5 * ring * grain);
          return Shade(c, edge * (0.92 + 0.12 * noise.At(plank * 7.3, 0.5)));
        });
        break;
      case 1:  // gingham: two sets of translucent bands
        FillPixels(surface, [&](int x, int y) {
          const double cell = 22;
          bool a = std::fmod(x + 1000, cell * 2) < cell, b = std::fmod(y + 1000, cell * 2) < cell;
          double weave = 0.97 + 0.05 * noise.At(x * 0.9, y * 0.9);
          double k = (a ? 0.45 : 0) + (b ? 0.45 : 0);
          return Shade(Mix(t.base, t.pattern, k), weave);
        });
        break;
      case 2:  // stripes
        FillPixels(surface, [&](int x, int y) {
          double u = x * std::cos(turn) + y * std::sin(turn);
          bool stripe = std::fmod(u + 1000, 36) < 14;
          return Shade(stripe ? t.pattern : t.base, 0.97 + 0.05 * noise.At(x * 0.8, y * 0.8));
        });
        break;
      case 3:  // dots
        FillPixels(surface, [&](int x, int y) {
          double cx = std::fmod(x + 1000, 28) - 14,
                 cy = std::fmod(y + 1000 + (static_cast<int>((x + 1000) / 28) % 2) * 14, 28) - 14;
          bool dot = cx * cx + cy * cy < 20;
          return Shade(dot ? t.pattern : t.base, 0.97 + 0.05 * noise.At(x * 0.8, y * 0.8));
        });
        break;
      default:  // plain linen
        FillPixels(surface, [&](int x, int y) {
          double n = noise.Fbm(x / 3.0, y / 3.0, 2);
          return Shade(Mix(t.base, t.pattern, n), 0.95 + 0.08 * noise.At(x / 40.0, y / 40.0));
        });
        break;
    }
    cairo_set_source_surface(cr, surface.surface(), 0, 0);
    cairo_paint(cr);
    // Soft light from the upper left.
    cairo_pattern_t* light = cairo_pattern_create_radial(W * 0.2, H * 0.1, 20, W * 0.3, H * 0.3, W * 0.9);
    cairo_pattern_add_color_stop_rgba(light, 0, 1, 1, 0.95, 0.18);
    cairo_pattern_add_color_stop_rgba(light, 1, 0, 0, 0.05, 0.22);
    cairo_set_source(cr, light);
    cairo_paint(cr);
    cairo_pattern_destroy(light);
  }

  Item NewItem(const Scene& scene, Rng& rng, double x, double y) const override {
    const int mood = static_cast<int>(scene.mood[0]);
    std::vector<int> kinds = {kApple, kOrange, kLemon,    kStrawberry, kCookie, kEgg,    kTomato,
                              kLeaf,  kSpoon,  kCherries, kGrapes,     kBanana, kShaker, kCandle};
    return MakeItem(rng.Pick(kinds), mood, rng, x, y);
  }

 private:
  Item MakeItem(int kind, int mood, Rng& rng, double x, double y) const {
    return Make(kind, Meal{mood}, rng, x, y);
  }

  void Populate(Scene& scene, int mood, Rng& rng) const {
    const double W = scene.width, H = scene.height;
    Placement spots;
    // Places an object unless it would sit on top of another one.
    auto put = [&](int kind, double x, double y, double closeness, const double* angle = nullptr) {
      Item it = MakeItem(kind, mood, rng, x, y);
      if (angle) it.angle = *angle;
      const double radius = it.size * (kind == kFork || kind == kKnife || kind == kSpoon ? 0.22 : 0.45);
      if (x < radius * 0.5 || x > W - radius * 0.5 || y < radius * 0.5 || y > H - radius * 0.5) return false;
      if (!spots.Free(x, y, radius, closeness)) return false;
      spots.Take(x, y, radius);
      scene.items.push_back(it);
      return true;
    };
    // The middle of the table: the dish this meal is about.
    static const int kCentre[kTables] = {kBread, kTeapot, kBowl, kBowl, kBread,  kCheese,
                                         kPizza, kCake,   kBowl, kVase, kCheese, kJar};
    put(kCentre[mood], W / 2 + rng.Range(-30, 30), H / 2 + rng.Range(-20, 20), 0.6);
    // Two to four places, each a plate with a fork on its left, a knife on its right and a drink.
    std::vector<std::pair<double, double>> corners = {{0.2, 0.29}, {0.8, 0.29}, {0.2, 0.73}, {0.8, 0.73}};
    rng.Shuffle(corners);
    const int places = rng.Int(2, 4);
    for (int p = 0; p < places; ++p) {
      const double px = corners[static_cast<size_t>(p)].first * W + rng.Range(-14, 14);
      const double py = corners[static_cast<size_t>(p)].second * H + rng.Range(-8, 8);
      if (!put(kPlate, px, py, 0.7)) continue;
      const double r = scene.items.back().size / 2;
      if (rng.Chance(0.4)) put(kNapkin, px - r - 12, py + 6, 0.3);
      const double tilt = rng.Range(-0.12, 0.12);
      put(rng.Chance(0.8) ? kFork : kSpoon, px - r - 9, py + 2, 0.3, &tilt);
      put(kKnife, px + r + 9, py + 2, 0.3, &tilt);
      put(mood == 1 || mood == 11 ? kCup : rng.Chance(0.6) ? kGlass : kCup, px + r + 16, py - r + 2, 0.5);
    }
    static const std::vector<std::vector<int>> kMeals = {
        {kEgg, kEgg, kJar, kOrange, kCup, kShaker, kShaker},
        {kCup, kCake, kSugar, kCookie, kCookie, kLemon, kVase, kSpoon},
        {kBowl, kApple, kApple, kOrange, kBanana, kGrapes, kLemon, kCherries, kStrawberry, kApple, kOrange},
        {kEgg, kEgg, kEgg, kCookie, kCookie, kCookie, kJar, kSugar, kLemon, kBowl},
        {kGlass, kTomato, kTomato, kLeaf, kCandle, kCandle, kShaker, kJar},
        {kBread, kApple, kGrapes, kStrawberry, kBanana, kCherries, kGlass, kNapkin},
        {kTomato, kLeaf, kLeaf, kShaker, kShaker, kGlass, kNapkin},
        {kDonut, kDonut, kCandle, kStrawberry, kNapkin, kCup, kCookie},
        {kBowl, kCup, kLeaf, kLeaf, kCandle, kJar, kShaker},
        {kLemon, kLemon, kBowl, kTomato, kLeaf, kGlass, kStrawberry},
        {kCheese, kBread, kGrapes, kApple, kJar, kLeaf, kTomato, kGrapes},
        {kDonut, kStrawberry, kCherries, kJar, kSugar, kCup, kLemon}};
    for (int kind : kMeals[static_cast<size_t>(mood)])
      for (int tries = 0; tries < 30; ++tries)
        if (put(kind, rng.Range(0, W), rng.Range(0, H), 0.85)) break;
    // Small things filling the gaps, so every table is crowded in its own way.
    const std::vector<int> small = {kStrawberry, kCookie, kTomato, kLeaf,  kEgg,    kCherries, kLemon,
                                    kOrange,     kApple,  kGrapes, kSugar, kShaker, kCandle,   kDonut};
    for (int tries = 0; tries < 400 && scene.items.size() < 40; ++tries)
      put(rng.Pick(small), rng.Range(0, W), rng.Range(0, H), 0.8);
  }
};

}  // namespace

std::unique_ptr<Theme> MakeKitchenTheme() {
  return std::make_unique<Kitchen>();
}

}  // namespace datagen
