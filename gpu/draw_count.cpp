#include "gpu/draw_count.h"

DrawCount drawCount;
