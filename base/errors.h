#pragma once
// The program's named errors. Failures of the runtime (a missing resource, a
// short read, an inflation failure, a shell object that cannot be created)
// travel as these exceptions up to the boundary where Windows called us, and
// are turned there into one message for the user.

#include <stdexcept>
#include <string>

namespace pellion {

// Base of every error this program raises on purpose; what() is the text
// shown to the user.
class EPellionError : public std::runtime_error {
  public:
    explicit EPellionError(const std::string& message) : std::runtime_error(message) {}
};

// A named resource of the program's own executable does not exist.
class EResNotFound : public EPellionError {
  public:
    using EPellionError::EPellionError;
};

// Fewer bytes could be read than a stream or resource claims to hold.
class EReadError : public EPellionError {
  public:
    using EPellionError::EPellionError;
};

// zlib refused a compressed body, or it inflated to the wrong length.
class EDecompressionError : public EPellionError {
  public:
    using EPellionError::EPellionError;
};

// Memory for decoding an item could not be had. Not a sign of a damaged
// payload: the same item reads on a machine with more memory to spare.
class EOutOfMemory : public EPellionError {
  public:
    using EPellionError::EPellionError;
};

// An operating-system call failed where the program cannot go on.
class EOSError : public EPellionError {
  public:
    EOSError(const std::string& message, unsigned long code)
        : EPellionError(message), code_(code) {}
    unsigned long Code() const { return code_; }

  private:
    unsigned long code_;
};

}  // namespace pellion
