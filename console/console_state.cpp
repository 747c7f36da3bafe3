#include "console/console_state.h"

ConsoleState console{};
