#ifndef MORVA_PLATFORM_STATUS_H_
#define MORVA_PLATFORM_STATUS_H_

#include <string>
#include <string_view>

namespace morva {

// The outcome of a host-layer operation. A failure carries the errno value that caused it and a short
// context (the operation and the path) for diagnostics. Failures are values: nothing in the host layer
// throws across its interfaces.
//
// A Status must be looked at: dropping one is a compiler warning (an error in CI). Where a failure is
// deliberately not acted upon, IgnoreError() says so and a comment beside the call says why.
//
// Codes with a fixed meaning across the layer:
//   ENOENT        the path or one of its directories does not exist
//   EEXIST        a move, copy or directory creation would have replaced an existing entry
//   EILSEQ        a text or name has no form in the other encoding (no substitution is ever made)
//   ENAMETOOLONG  a path longer than the engine accepts
//   EINVAL        a path the host cannot map (a drive other than Z:, a malformed path)
//   ENOTSUP       the file system cannot store what was asked (no user extended attributes)
class [[nodiscard]] Status {
 public:
  Status() = default;

  static Status Ok() { return Status(); }
  static Status Error(int code, std::string_view context) { return Status(code, context); }

  bool ok() const { return code_ == 0; }
  int code() const { return code_; }
  const std::string& context() const { return context_; }

  // "context: strerror(code)", or "OK".
  std::string ToString() const;

  // Drops the outcome on purpose (best-effort cleanup, a failure already reported another way).
  void IgnoreError() const {}

 private:
  Status(int code, std::string_view context) : code_(code), context_(context) {}

  int code_ = 0;
  std::string context_;
};

}  // namespace morva

#endif  // MORVA_PLATFORM_STATUS_H_
