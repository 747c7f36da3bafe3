#include "console/menu.h"

#include <initializer_list>

#include "console/dialog_io.h"
#include "console/dialogs/dialogs.h"
#include "console/output.h"
#include "console/texts_cp932.h"

namespace {

struct MenuKey {
    char key;
    void (*run)();  // the key's dialog
};

// Reads menu answers until one is a single byte; keys are compared exactly,
// so upper-case letters and full-width digits are no keys.
char readKey(const char* menu) {
    char key;
    do readAnswer(menu);
    while (!answerIsOneByte(&key));
    return key;
}

// Runs the dialog of each key read until the key "e"; any other answer only
// brings the menu back.
void runMenu(const char* menu, std::initializer_list<MenuKey> keys) {
    for (;;) {
        const char key = readKey(menu);
        if (key == 'e') return;
        for (const MenuKey& k : keys)
            if (k.key == key) k.run();
    }
}

void tableMenu() {
    say(text::tableMenuHeader);  // on entry only
    runMenu(text::tableMenu, {{'b', rebuildDialog}, {'x', extendDialog}, {'f', fileDialog}});
}

}  // namespace

void mainMenu() {
    runMenu(text::mainMenu, {{'1', primeTestDialog}, {'2', nthPrimeDialog}, {'3', nextPrimesDialog},
                             {'4', factoriseDialog}, {'a', tableMenu}});
}
