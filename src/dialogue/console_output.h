// Standard output and standard error as the dialogue writes them: stream buffers without a
// buffer of their own, so that each piece is handed to the system at once and no buffer is
// flushed a second time.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_OUTPUT_H_
#define SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_OUTPUT_H_

#include <cstddef>
#include <streambuf>

// Writes every byte of data to standard stream 1 (output) or 2 (error), with the platform's
// line ends, in one system call where the system takes all of it; tries again after an
// interruption or a full pipe; false once the stream is gone for good. One file per platform.
bool write_to_console(int stream, const char* data, std::size_t size);

// Hands every piece to write_to_console for its stream; once that fails, the C++ stream
// fails and shows nothing more.
class ConsoleOutput : public std::streambuf {
 public:
  explicit ConsoleOutput(int stream) : stream_(stream) {}

 protected:
  std::streamsize xsputn(const char* data, std::streamsize size) override {
    return write_to_console(stream_, data, static_cast<std::size_t>(size)) ? size : 0;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
      return traits_type::not_eof(c);
    }
    const char byte = traits_type::to_char_type(c);
    return write_to_console(stream_, &byte, 1) ? c : traits_type::eof();
  }

 private:
  const int stream_;
};

#endif  // SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_OUTPUT_H_
