#include "console/menu.h"

#include "console/dialog_io.h"
#include "console/dialogs/dialogs.h"
#include "console/output.h"
#include "console/texts_cp932.h"

namespace {

// Reads menu answers until one is a single byte; keys are compared exactly,
// so upper-case letters and full-width digits are no keys.
char readKey(const char* menu) {
    char key;
    do readAnswer(menu);
    while (!answerIsOneByte(&key));
    return key;
}

void tableMenu() {
    say(text::tableMenuHeader);  // on entry only
    for (;;) {
        switch (readKey(text::tableMenu)) {
            case 'e': return;
            case 'b': rebuildDialog(); break;
            case 'x': extendDialog(); break;
            case 'f': fileDialog(); break;
            default: break;
        }
    }
}

}  // namespace

void mainMenu() {
    for (;;) {
        switch (readKey(text::mainMenu)) {
            case 'e': return;
            case '1': primeTestDialog(); break;
            case '2': nthPrimeDialog(); break;
            case '3': nextPrimesDialog(); break;
            case '4': factoriseDialog(); break;
            case 'a': tableMenu(); break;
            default: break;
        }
    }
}
