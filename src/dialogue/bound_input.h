// Reading one bound of the range from the user's input.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_BOUND_INPUT_H_
#define SPHENISCHEZAHLEN_DIALOGUE_BOUND_INPUT_H_

#include <istream>
#include <optional>

#include "arith/number.h"

// Reads the next bound from in: blanks and line breaks are skipped, a "+" may lead, the
// number must lie within 0 to 4294967295 and be followed by a blank, a tab, a line break or
// the end of input. Returns nothing for anything else: letters, a larger value, a minus sign
// (which plain extraction would wrap around), digits with something glued to them ("10.000",
// "100abc": a German "ten thousand" must not become 10), end of input.
std::optional<Number> read_bound(std::istream& in);

// Reads the upper bound as read_bound does, and refuses it unless the rest of its line holds
// nothing but blanks, tabs and a CR: "20 000" is twenty thousand to a German reader, not 20,
// and a third number must not vanish unread.
std::optional<Number> read_upper_bound(std::istream& in);

#endif  // SPHENISCHEZAHLEN_DIALOGUE_BOUND_INPUT_H_
