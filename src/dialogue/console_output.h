// Standard output as the dialogue writes it: a stream buffer without a buffer of its own, so
// that each piece is handed to the system at once and no buffer is flushed a second time.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_OUTPUT_H_
#define SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_OUTPUT_H_

#include <cstddef>
#include <streambuf>

// Hands every piece to write_all(data, size), which writes all of it or returns false when
// the output is gone for good; the stream then fails and shows nothing more.
class ConsoleOutput : public std::streambuf {
 public:
  explicit ConsoleOutput(bool (*write_all)(const char* data, std::size_t size))
      : write_all_(write_all) {}

 protected:
  std::streamsize xsputn(const char* data, std::streamsize size) override {
    return write_all_(data, static_cast<std::size_t>(size)) ? size : 0;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
      return traits_type::not_eof(c);
    }
    const char byte = traits_type::to_char_type(c);
    return write_all_(&byte, 1) ? c : traits_type::eof();
  }

 private:
  bool (*const write_all_)(const char* data, std::size_t size);
};

#endif  // SPHENISCHEZAHLEN_DIALOGUE_CONSOLE_OUTPUT_H_
