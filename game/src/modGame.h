#pragma once

namespace varnel {

void UseJoker();

}  // namespace varnel
