// Runs the saver under the harness and keeps what the tests look at.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/saver_harness.h"
#include "gfx/image/image_buffer.h"
#include "saver_reference.h"

namespace morv::test {

struct CapturedFrame {
  SaverState state;
  Page page;
};

struct Capture {
  HarnessResult result;
  Tower tower;
  std::vector<CapturedFrame> frames;  // only those the keep predicate chose
};

// Runs `frames` frames with `seed`; keep(n) picks the frames whose page is copied
// (null: all). check(frame) runs at every frame's unlock.
Capture capture_run(double seed, int32_t frames, std::function<bool(int32_t)> keep = nullptr,
                    std::function<void(const HarnessFrame&)> check = nullptr);

// The image's pixels; empty unless it is a 4-byte image.
Tower read_tower(const zv::ImageBuffer* image);

// The model frames of a run, worked out before the saver draws (the model reseeds).
std::vector<ModelFrame> model_frames(double seed, int32_t frames);

// The first seed from `from` on whose model satisfies the predicate, or -1.
double find_seed(std::function<bool(SaverModel&)> wanted, double from = 1);

}  // namespace morv::test
