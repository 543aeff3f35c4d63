// SPDX-License-Identifier: Zlib
#pragma once

#include <functional>

#include "Canvas.h"
#include "Color.h"

namespace datagen {

class Rng;

// Blurs every channel (the surface is premultiplied, so edges blur without dark fringes).
void Blur(const Canvas& canvas, int radius);

// Adds a fine, even grain to the opaque parts: flat colours look printed rather than digital.
void AddGrain(const Canvas& canvas, Rng& rng, double amount);

// Replaces every pixel by shade(x, y): used for noise-driven skies, water and textures.
void FillPixels(const Canvas& canvas, const std::function<Rgb(int x, int y)>& shade);

// Multiplies the alpha of every pixel by mask(x, y) in [0, 1].
void MaskAlpha(const Canvas& canvas, const std::function<double(int x, int y)>& mask);

// A soft shadow of the canvas' opaque shapes: blurred, darkened copy drawn below them.
Canvas ShadowOf(const Canvas& shapes, int blur, double opacity);

}  // namespace datagen
