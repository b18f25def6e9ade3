#include "log/log_lines.h"

namespace morva {

bool LogLineStream::Refill() {
  if (!ok_ || next_read_ >= file_.size()) return false;
  buffer_.erase(0, start_);
  start_ = 0;
  const std::size_t want = buffer_size_ > buffer_.size() ? buffer_size_ - buffer_.size() : 1;
  if (!file_.Read(next_read_, want, &chunk_).ok()) {
    ok_ = false;
    return false;
  }
  if (chunk_.empty()) return false;  // the file shrank since it was opened
  next_read_ += chunk_.size();
  if (buffer_.empty()) {
    buffer_.swap(chunk_);  // the usual case: every line of the last window was handed out
  } else {
    buffer_.append(chunk_);
  }
  return true;
}

bool LogLineStream::Next(LogLine* line) {
  std::size_t lf = buffer_.find('\n', start_);
  while (lf == std::string::npos && buffer_.size() - start_ < buffer_size_) {
    const std::size_t searched = buffer_.size() - start_;
    if (!Refill()) break;
    lf = buffer_.find('\n', start_ + searched);
  }
  if (start_ >= buffer_.size()) return false;
  std::size_t end = lf == std::string::npos ? std::min(buffer_.size(), start_ + buffer_size_) : lf + 1;
  line->offset = next_read_ - (buffer_.size() - start_);
  line->full = std::string_view(buffer_).substr(start_, end - start_);
  line->body = line->full;
  if (!line->body.empty() && line->body.back() == '\n') line->body.remove_suffix(1);
  if (!line->body.empty() && line->body.back() == '\r') line->body.remove_suffix(1);
  line->text = LogLineText(line->body);
  start_ = end;
  return true;
}

}  // namespace morva
