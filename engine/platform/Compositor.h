// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/FrameScaler.h"
#include "platform/Images.h"
#include "platform/Video.h"

typedef union pixman_image pixman_image_t;
struct SDL_Surface;
union SDL_Event;

// The engine's own drawing on the CPU, for machines whose only OpenGL is a software one: sprites
// are composited with pixman straight into one frame in memory, which is shown through the
// window's surface (X11 shared memory), scaled once when the window is larger than the frame.
// Its results match SDL's software renderer to a level per channel; the turned sprites it maps
// itself, as the software renderer's device does.
namespace tovak2d::platform::video::compositor {

// A texture's image, its colours multiplied by their alpha as pixman blends them.
class Image {
 public:
  Image(int imageWidth, int imageHeight, const uint32_t* argb);
  Image(int imageWidth, int imageHeight, std::vector<uint32_t>&& argb);
  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  int width = 0, height = 0;
  std::vector<uint32_t> texels;
  // Every texel's alpha is 255: blending it needs no alpha of its own.
  bool opaque = false;
  pixman_image_t* image = nullptr;
};

class Frame {
 public:
  // A width x height frame for the window; null (with the reason) when the window has no surface.
  // A frame without a window is never shown (a test compares it with another device's frame).
  static std::unique_ptr<Frame> Create(WindowHandle window, int width, int height, std::string* error);
  ~Frame();
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  void Clear(uint8_t red, uint8_t green, uint8_t blue);
  // Sprites are recorded and painted together when the frame is shown or read (or an image they
  // use goes), so that nothing is painted where an opaque upright sprite drawn later covers it:
  // the turning sky behind the play screen's pictures, for one.
  // Whole texels of the image into an upright rectangle, mirrored as asked, times the colour.
  void DrawRect(const Image& image, const PixelRect& source, const ScreenRect& target, Rgba color,
                bool mirrorX, bool mirrorY);
  // The image mapped onto the parallelogram of the first three corners (the fourth is implied).
  void DrawParallelogram(const Image& image, const Vertex (&corners)[4]);
  // Paints the sprites recorded so far.
  void Flush();
  // Paints, in every frame, the sprites recorded with an image that is about to go.
  static void Forget(const Image* image);
  // Shows the frame in the window, scaled and between black bars when the window is larger, and
  // keeps it as the frame on screen.
  void Present();
  // Whether the frame is scaled into the window sharply (each pixel a block of whole window
  // pixels: a desktop scale of 2 or 3) or smoothly (any other size).
  void SetSharp(bool sharp) { sharp_ = sharp; }
  // A frame pixel's place in the window.
  void ToWindow(int x, int y, int& windowX, int& windowY) const;
  void ReadBack(images::Image& frame);
  // The frame on screen, which ReadFront gives; false once the next frame is drawn straight over
  // it in the window.
  bool KeepsFront() const { return !intoWindow_ || !drawn_; }
  void ReadFront(images::Image& frame) const;
  // From now on marks, frame by frame, the pixels within a pixel of a turned sprite's edge, where
  // another rasterizer may decide coverage or the texel differently, and all of a turned sprite
  // too small for SDL's software device to map it itself.
  void TrackTurnedEdges();
  const std::vector<uint8_t>& TurnedEdges() const { return edges_; }

 private:
  bool sharp_ = false;
  Frame() = default;
  static int MapMouse(void* frame, SDL_Event* event);
  // Blends the scratch area over the frame with the colour's alpha, after multiplying its colours;
  // opaque when the texels scaled into it all were.
  void BlendScratch(int x, int y, int width, int height, Rgba color, bool opaque);
  // Fills the frame with the colour of the last Clear, if no sprite has covered it since.
  void FillClear();
  // An upright sprite's texels and pixels, cut to the image and to the frame; none when nothing of
  // it shows.
  struct RectPlan {
    int sx, sy, sw, sh;            // the texels
    int x, y, w, h;                // the target, in whole pixels
    int left, top, right, bottom;  // the target inside the frame
    bool transformed, replaces;
  };
  std::optional<RectPlan> PlanRect(const Image& image, const PixelRect& source, const ScreenRect& target,
                                   Rgba color, bool mirrorX, bool mirrorY) const;
  void PaintRect(const Image& image, const PixelRect& source, const ScreenRect& target, Rgba color, bool mirrorX,
                 bool mirrorY);
  void PaintParallelogram(const Image& image, const Vertex (&corners)[4]);
  // Calls paint(from, to) for each piece of pixels [from, to) of the row that no opaque upright
  // sprite recorded after the one being painted covers.
  template <typename Paint>
  void Uncovered(int row, int from, int to, Paint&& paint);

  WindowHandle window_ = nullptr;
  int width_ = 0, height_ = 0;
  void MarkEdges(int areaX, int areaY, int areaW, const std::vector<std::pair<int, int>>& spans);

  std::vector<uint32_t> back_, front_, scratch_;
  // The frame being drawn: back_, or the window's own surface when that has the frame's size and
  // layout (the frame is then built where it is shown, and presenting it copies nothing).
  uint32_t* pixels_ = nullptr;
  bool intoWindow_ = false;
  // Whether a pixel of the frame being drawn has been written since the last Present.
  bool drawn_ = false;
  std::optional<uint32_t> clear_;
  // A turned sprite's rows: the pixels each covers, and the texel position (16.16) at the first.
  struct Span {
    int from = 0, to = 0;
    int64_t u = 0, v = 0;
  };
  std::vector<Span> rows_;
  // The window surface whose bars beside the scaled frame are drawn.
  struct {
    void* pixels = nullptr;
    int w = 0, h = 0, pitch = 0;
  } barsFor_;
  std::vector<uint8_t> edges_;
  // The sprites recorded since the last paint, and the opaque upright ones among them (with the
  // pixels they replace).
  struct Command {
    const Image* image = nullptr;
    bool turned = false;
    PixelRect source;
    ScreenRect target;
    Rgba color;
    bool mirrorX = false, mirrorY = false;
    Vertex corners[4];
  };
  std::vector<Command> commands_;
  struct Cover {
    size_t command = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
  };
  std::vector<Cover> covers_;
  // While painting: the covers recorded after the sprite being painted, and a row's covered pieces.
  const Cover* coverFrom_ = nullptr;
  const Cover* coverEnd_ = nullptr;
  std::vector<std::pair<int, int>> covered_;
  pixman_image_t* backImage_ = nullptr;
  pixman_image_t* frontImage_ = nullptr;
  pixman_image_t* scratchImage_ = nullptr;
  SDL_Surface* scratchSurface_ = nullptr;
  FrameScaler scaler_;
};

// Narrows [from, to) to the pixels i from 0 to count where a + b * i lies in [0, 1): the span of a
// row inside one pair of a parallelogram's edges. The compositor and the software renderer's
// turned sprites map their rows alike.
void ClipSpan(double a, double b, int count, int& from, int& to);

}  // namespace tovak2d::platform::video::compositor
