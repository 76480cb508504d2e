// The shape of the program's messages on standard error: one line each, written in one piece.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_MESSAGE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_MESSAGE_H_

#include <ostream>
#include <string_view>

// Writes "Fehler: " and text as one line to errors, in one call and flushed, so that a
// signal never leaves part of it.
void say_error(std::ostream& errors, std::string_view text);

// The same with "Warnung: ", for what leaves the run's outcome as it is.
void say_warning(std::ostream& errors, std::string_view text);

#endif  // SPHENISCHEZAHLEN_DIALOGUE_MESSAGE_H_
