// A bound is read by the stream's own unsigned extraction, with a guard against negatives.
#include "dialogue/bound_input.h"

std::optional<Number> read_bound(std::istream& in) {
  in >> std::ws;
  if (in.peek() == '-') {
    return std::nullopt;
  }
  Number bound = 0;
  if (!(in >> bound)) {
    return std::nullopt;
  }
  return bound;
}
