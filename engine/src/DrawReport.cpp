// SPDX-License-Identifier: Zlib
#include "DrawReport.h"

#include <utility>

namespace tovak2d {
namespace {
DrawObserver& Observer() {
  static DrawObserver observer;
  return observer;
}
}  // namespace

namespace drawreport {
bool observing = false;

void Report(const DrawRecord& record) {
  if (observing) Observer()(record);
}
}  // namespace drawreport

void SetDrawObserver(DrawObserver observer) {
  Observer() = std::move(observer);
  drawreport::observing = static_cast<bool>(Observer());
}

}  // namespace tovak2d
