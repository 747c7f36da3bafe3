#include "console/state.h"

ConsoleState console{};
