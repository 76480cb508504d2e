// A bound is read by the stream's own unsigned extraction, with guards against a minus sign
// and against anything glued to the digits.
#include "dialogue/bound_input.h"

namespace {

// True when c may follow the digits of a bound: a blank, a tab, a line break or the end.
bool ends_a_bound(std::istream::int_type c) {
  return c == std::istream::traits_type::eof() || c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

std::optional<Number> read_bound(std::istream& in) {
  in >> std::ws;
  if (in.peek() == '-') {
    return std::nullopt;
  }
  Number bound = 0;
  if (!(in >> bound) || !ends_a_bound(in.peek())) {
    return std::nullopt;
  }
  return bound;
}

std::optional<Number> read_upper_bound(std::istream& in) {
  const std::optional<Number> bound = read_bound(in);
  if (!bound) {
    return std::nullopt;
  }
  auto next = in.peek();
  while (next == ' ' || next == '\t' || next == '\r') {
    in.get();
    next = in.peek();
  }
  if (next != '\n' && next != std::istream::traits_type::eof()) {
    return std::nullopt;
  }
  return bound;
}
