#include "primetable/sieve_work.h"

SieveWork sieveWork;
