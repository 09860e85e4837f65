#pragma once
// The protocol's framing over a byte stream: a header of "Name: value" lines
// ended by an empty line, whose Content-Length gives the body's bytes.
#include <cstddef>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "platform/failure.h"

// The largest body read; a larger one is skipped and answered as an error.
inline constexpr size_t MAX_MESSAGE_BYTES = 64u << 20;
// The longest header line kept; the rest of a longer one is read and dropped.
inline constexpr size_t MAX_HEADER_LINE = 4096;

struct framed_message {
    std::string body;
    // Why the message could not be taken (a header without a valid
    // Content-Length, a body too large), as the invalid request it is answered
    // with; its bytes have been skipped, the stream goes on.
    maybe_failure problem;
};

// Reads message after message. A header line counts against its limit as it
// arrives; a malformed header's body is skipped when its length can still be
// read, else the stream is taken up again at the next Content-Length.
class message_reader {
public:
    explicit message_reader(std::istream& in) : in_(in) {}
    // The next message; nothing at the stream's end (or a body cut short by it).
    std::optional<framed_message> next();

private:
    // The next line without its end, at most MAX_HEADER_LINE bytes of it
    // (`overlong` says more were dropped); nothing at the stream's end.
    std::optional<std::string> line(bool& overlong);
    // Reads on to the next Content-Length, which begins the next header.
    void resynchronise();
    std::istream& in_;
    std::optional<std::string> carried_;  // a header line found while resynchronising
};

void write_message(std::ostream& out, const std::string& body);

// What the reader may hold ahead of the handler, in messages and in bytes.
inline constexpr size_t MAX_QUEUED_MESSAGES = 64;
inline constexpr size_t MAX_QUEUED_BYTES = 16u << 20;
