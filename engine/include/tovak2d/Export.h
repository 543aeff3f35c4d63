#pragma once

#if defined(TOVAK2D_BUILDING_LIBRARY)
#define TOVAK2D_API __attribute__((visibility("default")))
#else
#define TOVAK2D_API
#endif
