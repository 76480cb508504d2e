// The few things of a run that differ between platforms: setting up the standard streams
// and waiting for one key. Each platform has its own file; the build picks one.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_H_

// Prepares the process so that a console that goes away, or was never there, or a file size
// limit cannot end the run or mix console text into the report file, and so that std::cout
// hands each piece to the system at once, waits for a full pipe instead of giving up, and
// fails only once the console is gone for good. Call once, before anything is opened.
void prepare_console();

// Waits for one key press, without echo and without Enter, and returns its code, or a
// negative value at end of input. On POSIX, when standard input is no terminal, its next
// character counts as the key, so the wait never hangs on a closed or empty input. On
// Windows the key is read from the console whatever standard input is (_getch), and a
// process without a console does not wait.
int wait_for_key();

#endif  // SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_H_
