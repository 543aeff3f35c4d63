#pragma once

namespace varnel {

void NameEntryKeys();

}  // namespace varnel
