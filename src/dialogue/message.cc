// Messages on standard error, each put together first and written in one piece.
#include "dialogue/message.h"

#include <string>

namespace {

// Writes kind, text and a line break to errors in one call, and flushes it.
void say(std::ostream& errors, std::string_view kind, std::string_view text) {
  std::string line;
  line.reserve(kind.size() + text.size() + 1);
  line.append(kind).append(text).push_back('\n');
  errors.write(line.data(), static_cast<std::streamsize>(line.size())).flush();
}

}  // namespace

void say_error(std::ostream& errors, std::string_view text) { say(errors, "Fehler: ", text); }

void say_warning(std::ostream& errors, std::string_view text) { say(errors, "Warnung: ", text); }
