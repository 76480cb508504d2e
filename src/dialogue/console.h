// The few things of a run that differ between platforms: setting up the standard streams,
// holding back the signals that end the program, and waiting for one key. Each platform has
// its own file; the build picks one.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_H_

#include <functional>

// Prepares the process so that a console that goes away, or was never there, cannot end the
// run or mix console text into the report file, and so that std::cout and std::cerr hand each
// piece to the system at once, with the platform's line ends, wait for a full pipe instead
// of giving up, and fail only once their stream is gone for good. Call once, before anything
// is opened.
void prepare_console();

// Runs work, with the signals that end the program from outside (on POSIX INT, TERM, HUP
// and QUIT) held back while it runs if hold is true: one that arrives meanwhile takes effect
// when work is done. On Windows, where Ctrl-C ends the process from another thread, it only
// runs work.
void with_ending_signals_held(bool hold, const std::function<void()>& work);

// Waits for one key press, without echo and without Enter, and returns its code, or a
// negative value at end of input. On POSIX, when standard input is no terminal, its next
// character counts as the key, so the wait never hangs on a closed or empty input. On
// Windows the key is read from the console whatever standard input is (_getch), and a
// process without a console does not wait.
int wait_for_key();

#endif  // SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_H_
