// Console set-up and key wait for Windows, where the runtime library has the key wait.
#include <conio.h>

#include "dialogue/console.h"

void prepare_console() {
  // Nothing to do: Windows raises no signal when a console or pipe goes away; the write
  // just fails.
}

int wait_for_key() { return _getch(); }
