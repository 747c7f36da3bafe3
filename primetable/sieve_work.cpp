#include "q64/m5_primetable.h"

SieveWork sieveWork;
