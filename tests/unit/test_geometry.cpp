#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>
#include <utility>

#include "modExtra.h"
#include "tovak2d/Extra.h"

using namespace tovak2d;

TEST(Geometry, RandomNumbersCoverBothEndsAtHalfWeight) {
  Extra extra;
  std::map<int32_t, int> counts;
  for (int i = 0; i < 30000; ++i) ++counts[extra.RndNum(1, 3)];
  ASSERT_EQ(counts.size(), 3u);
  EXPECT_NEAR(counts[2] / static_cast<double>(counts[1]), 2.0, 0.25);
  EXPECT_NEAR(counts[2] / static_cast<double>(counts[3]), 2.0, 0.25);
  EXPECT_EQ(extra.RndNum(5, 5), 5);
}

TEST(Geometry, RectanglesPointsAndTheMouse) {
  Extra extra;
  const RECT r{10, 20, 30, 40};
  EXPECT_TRUE(extra.IsPointInRect(10, 20, r) && extra.IsPointInRect(30, 40, r));
  EXPECT_FALSE(extra.IsPointInRect(30.5, 40, r) || extra.IsPointInRect(9.99, 30, r));
  EXPECT_TRUE(extra.IsRectInRect(r, r));
  EXPECT_TRUE(extra.IsRectInRect(RECT{25, 35, 100, 100}, r)) << "a corner inside";
  EXPECT_FALSE(extra.IsRectInRect(RECT{0, 0, 100, 100}, r)) << "only corners count";
  EXPECT_TRUE(extra.IsRectInRect(r, RECT{0, 0, 100, 100}));

  const Mouse saved = modExtra::lastMouse;
  modExtra::lastMouse.X = 50;
  modExtra::lastMouse.Y = 60;
  EXPECT_TRUE(extra.IsMouseOverArea(40, 50, 20, 20));
  EXPECT_FALSE(extra.IsMouseOverArea(50, 50, 20, 20)) << "an edge does not count";
  EXPECT_FALSE(extra.IsMouseOverArea(40, 40, 20, 20));
  modExtra::lastMouse = saved;
}

TEST(Geometry, AnglesDistancesAndSteps) {
  Extra extra;
  // One turn is taken off or added, once.
  for (auto [angle, wrapped] :
       {std::pair<float, float>{360, 0}, {-90, 270}, {720, 360}, {-400, -40}, {359.5f, 359.5f}}) {
    extra.WrapAngle(angle);
    EXPECT_EQ(angle, wrapped);
  }
  EXPECT_FLOAT_EQ(extra.GetDistance(0, 0, 3, 4), 5);
  // One point in each quarter and on each axis that starts one.
  for (auto [x, y, angle] : {std::tuple<float, float, float>{1, 1, 45},
                             {-1, -1, 225},
                             {1, -1, 315},
                             {0, 5, 90},
                             {-5, 0, 180},
                             {0, -5, 270}})
    EXPECT_FLOAT_EQ(extra.GetAngle(0, 0, x, y), angle) << x << "," << y;
  EXPECT_NEAR(extra.GetAngle(0, 0, 1, 2), 63.4349f, 1e-3);
  EXPECT_THROW(extra.GetAngle(3, 3, 3, 3), MathError);

  // Before a start the step always goes along +X; after it, along the angle.
  const float savedRad = modExtra::degToRad;
  for (float degToRad : {0.0f, static_cast<float>(M_PI / 180)}) {
    modExtra::degToRad = degToRad;
    float x = 0, y = 0;
    extra.GoToAngle(x, y, 90, 2);
    EXPECT_NEAR(x, degToRad == 0 ? 2 : 0, 1e-5);
    EXPECT_NEAR(y, degToRad == 0 ? 0 : 2, 1e-5);
  }
  modExtra::degToRad = savedRad;
}
