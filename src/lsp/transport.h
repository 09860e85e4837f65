#pragma once
// The protocol's framing over a byte stream: a header of "Name: value" lines
// ended by an empty line, whose Content-Length gives the body's bytes.
#include <cstddef>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

// The largest body read; a larger one is skipped and answered as an error.
inline constexpr size_t MAX_MESSAGE_BYTES = 64u << 20;

struct framed_message {
    std::string body;
    // Why the message could not be taken (a header without Content-Length, a
    // body too large); its bytes have been skipped, the stream goes on.
    std::optional<std::string> problem;
};

// The next message; nothing at the stream's end (or a body cut short by it).
std::optional<framed_message> read_message(std::istream& in);

void write_message(std::ostream& out, const std::string& body);
