// Entry point of sphenischezahlen: the command line is ignored, the dialogue is the program.
#include "dialogue/console.h"
#include "dialogue/dialogue.h"

int main() {
  prepare_console();
  return run_dialogue();
}
