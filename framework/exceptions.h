// The framework's failures. Every failure is one of these four, under one base, and carries a
// message the user can read (in Italian): the host shows what() when a handler ends by one.
#pragma once

#include <stdexcept>
#include <string>

namespace fw {

class RuntimeException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An object that should be there is not: a control looked up by a name the window lacks,
// a stream used before it was opened.
class NilObjectException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
};

// An index outside a table, or a file that brings more than a table holds.
class OutOfBoundsException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
};

// A file that can't be opened, read, created or written, or a read past the end of the data.
class IOException : public RuntimeException {
 public:
  enum Code {
    kOpenFailed = 1,
    kReadFailed = 2,
    kPastEnd = 3,
    kCreateFailed = 4,
    kWriteFailed = 5,
    kClosed = 6
  };
  IOException(const std::string& message, int code) : RuntimeException(message), code_(code) {}
  int ErrorCode() const { return code_; }

 private:
  int code_;
};

// An object found under a name is not of the class its user expects.
class IllegalCastException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
};

}  // namespace fw
