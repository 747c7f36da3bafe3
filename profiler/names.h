// The profiler's constant name list: the byte 255, the routine names in index
// order, each ended by a NUL, and a closing byte 255.
#pragma once

extern "C" const char prfnamelist[];
