// The console: start-up, the menus, shut-down. Command-line arguments are ignored.
#include "console/lifecycle.h"
#include "console/menu.h"

int main() {
    startUp();
    mainMenu();
    shutDown();
    return 0;
}
