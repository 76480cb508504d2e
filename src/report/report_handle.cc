// What the report file's handle decides, the same on every platform: where a line begins,
// when lines of the run count as gone, and when a failed line is cut back.
#include "report/report_handle.h"

#include <algorithm>

std::optional<std::uint64_t> ReportHandle::check_the_end() {
  const std::optional<std::uint64_t> end = regular_ ? size() : std::nullopt;
  if (end && *end != lines_end_) {
    // Another program changed the file. The run's last line still where the run wrote it
    // means that text was only appended; a file that cannot be read back is judged by its
    // size alone.
    const std::uint64_t last_line_start = lines_end_ - last_line_.size();
    lost_lines_ = lost_lines_ || *end < lines_end_ ||
                  read(last_line_start, last_line_.size()).value_or(last_line_) != last_line_;
  }
  return end;
}

ReportResult<LineOutcome> ReportHandle::write_line(std::string_view line) {
  const std::uint64_t start = check_the_end().value_or(lines_end_);
  // Where another program left the file ending inside a line (or it cannot be read back),
  // this line starts a line of its own, so that it is never read as part of the other text.
  const bool inside_a_line = start != lines_end_ && start > 0 && read(start - 1, 1) != "\n";
  std::string text = inside_a_line ? kNewline : "";
  const std::size_t line_start = text.size();
  text.append(line).append(kNewline);
  for (std::size_t written = 0; written < text.size();) {
    int error = 0;
    const std::ptrdiff_t count = append(text.data() + written, text.size() - written, error);
    if (count <= 0) {
      // A write that takes nothing (a device or FIFO may) would be tried for ever.
      const LineOutcome outcome =
          cut_back(start) == 0 ? LineOutcome::kCutBack : LineOutcome::kPartLeft;
      return {outcome, error};
    }
    written += static_cast<std::size_t>(count);
  }
  last_line_ = text.substr(line_start);
  // Where the line landed: at start, or later when another program appended meanwhile.
  const std::uint64_t end_at_start = start + text.size();
  lines_end_ = regular_ ? std::max(end_at_start, end_of_last_write().value_or(0)) : end_at_start;
  return {LineOutcome::kWritten};
}

bool ReportHandle::lost_lines() {
  check_the_end();
  return lost_lines_;
}

int ReportHandle::cut_back(std::uint64_t length) {
  // Only ever shorter: a file that another program cut shorter is not filled up with zeros.
  if (!regular_ || size().value_or(length + 1) <= length) {
    return 0;
  }
  return truncate(length);
}
