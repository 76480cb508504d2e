// The few things of a run that differ between platforms: setting up the standard streams
// and waiting for one key. Each platform has its own file; the build picks one.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_H_

// Prepares the process so that a console that goes away, or was never there, or a file size
// limit cannot end the run or mix console text into the report file. Call once, before
// anything is opened.
void prepare_console();

// Waits for one key press, without echo and without Enter, and returns its code, or a
// negative value at end of input. When standard input is no terminal, its next character
// counts as the key, so the wait never hangs on a closed or empty input.
int wait_for_key();

#endif  // SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_H_
