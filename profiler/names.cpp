#include "profiler/names.h"

#include "profiler/hook.h"

extern "C" const char prfnamelist[] = "\xFF"
#define PRF_ROUTINE(name) #name "\0"
#include "profiler/routines.def"
#undef PRF_ROUTINE
    "\xFF";
