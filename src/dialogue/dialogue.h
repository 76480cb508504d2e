// One run of the program: greeting, the two bounds, the scan of the range, the key wait.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_DIALOGUE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_DIALOGUE_H_

// Runs the whole dialogue on the standard streams, copying every result line into the
// report file, and returns the process's exit status: 0 after a scan whose every line is in
// the file under its name, 1 when a bound could not be read or the report file could not be
// opened (then nothing but the closing prompt is shown), written to the end or found again
// under its name.
int run_dialogue();

#endif  // SPHENISCHEZAHLEN_DIALOGUE_DIALOGUE_H_
