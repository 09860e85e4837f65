#include "text_input/lettore_campi.h"

#include "model/run_time_failure.h"

bool lettore_campi::blank(size_t i) const {
    return i < bytes_.size() && (bytes_[i] == ' ' || bytes_[i] == '\t');
}

bool lettore_campi::line_end(size_t i) const {
    return i < bytes_.size() && (bytes_[i] == '\r' || bytes_[i] == '\n');
}

void lettore_campi::skip_blanks() {
    while (blank(pos_)) ++pos_;
}

void lettore_campi::consume_separator() {
    if (fine()) return;
    if (bytes_[pos_] == ',') {
        ++pos_;
    } else if (line_end(pos_)) {
        if (bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++linea_;
    }
}

void lettore_campi::start_field() {
    linea_campo_ = linea_;
    if (fine()) throw run_time_failure("input past end of file");
    skip_blanks();
}

std::string lettore_campi::testo() {
    start_field();
    std::string value;
    if (!fine() && bytes_[pos_] == '"') {
        ++pos_;
        size_t start = pos_;
        while (!fine() && bytes_[pos_] != '"' && !line_end(pos_)) ++pos_;
        value.assign(bytes_.substr(start, pos_ - start));
        if (!fine() && bytes_[pos_] == '"') ++pos_;
        skip_blanks();
        consume_separator();
        return value;
    }
    size_t start = pos_;
    while (!fine() && bytes_[pos_] != ',' && !line_end(pos_)) ++pos_;
    size_t end = pos_;
    while (end > start && blank(end - 1)) --end;
    value.assign(bytes_.substr(start, end - start));
    consume_separator();
    return value;
}

int64_t lettore_campi::numero(int64_t lo, int64_t hi, const char* tipo) {
    start_field();
    if (fine()) throw run_time_failure("input past end of file");
    if (bytes_[pos_] == ',' || line_end(pos_)) {
        consume_separator();
        return 0;
    }
    size_t start = pos_;
    while (!fine() && bytes_[pos_] != ',' && !line_end(pos_) && !blank(pos_)) ++pos_;
    std::string_view field = bytes_.substr(start, pos_ - start);
    skip_blanks();
    consume_separator();

    std::string_view digits = field;
    bool negative = false;
    if (digits.front() == '+' || digits.front() == '-') {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    auto mismatch = [&] {
        return run_time_failure("type mismatch: \"" + std::string(field) + "\" is not a whole number");
    };
    if (digits.empty()) throw mismatch();
    int64_t magnitude = 0;
    bool too_large = false;
    for (char c : digits) {
        if (c < '0' || c > '9') throw mismatch();
        // Saturate instead of wrapping: any value past 2^32 is out of range anyway.
        if (!too_large) {
            magnitude = magnitude * 10 + (c - '0');
            if (magnitude > (int64_t{1} << 32)) too_large = true;
        }
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (too_large || value < lo || value > hi)
        throw run_time_failure("overflow: " + std::string(field) + " does not fit " + tipo);
    return value;
}

int32_t lettore_campi::long_field() {
    return static_cast<int32_t>(numero(INT32_MIN, INT32_MAX, "a Long"));
}

int16_t lettore_campi::integer_field() {
    return static_cast<int16_t>(numero(INT16_MIN, INT16_MAX, "an Integer"));
}

uint8_t lettore_campi::byte_field() { return static_cast<uint8_t>(numero(0, 255, "a Byte")); }
