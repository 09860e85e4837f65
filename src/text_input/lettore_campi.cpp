#include "text_input/lettore_campi.h"

#include <cstring>

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
        inizio_linea_ = pos_;
    }
}

void lettore_campi::start_field() {
    linea_campo_ = linea_;
    ++campi_;
    posto_ = {posto_.file, linea_, static_cast<int32_t>(pos_ - inizio_linea_ + 1), 0};
    if (fine()) throw campo_illeggibile("input past end of file");
    skip_blanks();
    posto_.column = static_cast<int32_t>(pos_ - inizio_linea_ + 1);
    dal_segno_.push_back(posto_);
}

int32_t lettore_campi::fine_linea(int32_t linea) const {
    size_t i = 0;
    for (int32_t l = 1; l < linea && i < bytes_.size(); ++i) {
        if (bytes_[i] == '\r' && i + 1 < bytes_.size() && bytes_[i + 1] == '\n') ++i;
        if (bytes_[i] == '\r' || bytes_[i] == '\n') ++l;
    }
    const size_t inizio = i;
    while (i < bytes_.size() && !line_end(i)) ++i;
    return static_cast<int32_t>(i - inizio + 1);
}

size_t lettore_campi::fine_testo() const {
    return !bytes_.empty() && bytes_.back() == '\x1A' ? bytes_.size() - 1 : bytes_.size();
}

luogo_testo lettore_campi::ultima_riga() const {
    size_t fine = fine_testo();
    // Back over the trailing blanks and line ends, counting the lines they end.
    int32_t linea = linea_;
    while (fine > 0 && (blank(fine - 1) || line_end(fine - 1))) {
        if (bytes_[fine - 1] == '\n' || (bytes_[fine - 1] == '\r' && !(fine < bytes_.size() && bytes_[fine] == '\n')))
            --linea;
        --fine;
    }
    if (fine == 0) return {posto_.file, 1, 1, 0};
    size_t inizio = fine;
    while (inizio > 0 && !line_end(inizio - 1)) --inizio;
    while (blank(inizio)) ++inizio;
    size_t riga = inizio;
    while (riga > 0 && !line_end(riga - 1)) --riga;
    return {posto_.file, linea, static_cast<int32_t>(inizio - riga + 1), static_cast<int32_t>(fine - inizio)};
}

std::optional<byte_estraneo> lettore_campi::primo_estraneo() const {
    const auto estraneo = [](unsigned char b) { return (b < 0x20 && b != '\t' && b != '\n' && b != '\r') || b == 0x7F; };
    const size_t n = fine_testo();
    // Eight bytes at a time, so that a 10 MB file costs a millisecond or two: a
    // word with no byte below 0x20 and none 0x7F holds none; any other is looked
    // at byte by byte (most of them hold just a line end).
    constexpr uint64_t UNO = 0x0101010101010101, ALTO = 0x8080808080808080;
    const auto sospetta = [&](uint64_t w) {
        const uint64_t del = w ^ (UNO * 0x7F);
        return (((w - UNO * 0x20) & ~w) | ((del - UNO) & ~del)) & ALTO;
    };
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, bytes_.data() + i, 8);
        if (!sospetta(w)) continue;
        bool trovato = false;
        for (size_t k = 0; k < 8; ++k) trovato |= estraneo(static_cast<unsigned char>(bytes_[i + k]));
        if (trovato) break;
    }
    while (i < n && !estraneo(static_cast<unsigned char>(bytes_[i]))) ++i;
    if (i == n) return std::nullopt;
    // Its line and column, by the reader's line ends.
    int32_t linea = 1;
    size_t riga = 0;
    for (size_t j = 0; j < i; ++j) {
        if (bytes_[j] == '\r' && j + 1 < i && bytes_[j + 1] == '\n') ++j;
        if (line_end(j)) {
            ++linea;
            riga = j + 1;
        }
    }
    return byte_estraneo{{posto_.file, linea, static_cast<int32_t>(i - riga + 1), 1},
                         static_cast<uint8_t>(bytes_[i])};
}

std::string lettore_campi::testo() {
    start_field();
    std::string value;
    if (!fine() && bytes_[pos_] == '"') {
        ++pos_;
        size_t start = pos_;
        while (!fine() && bytes_[pos_] != '"' && !line_end(pos_)) ++pos_;
        value.assign(bytes_.substr(start, pos_ - start));
        virgolette_aperte_ = fine() || bytes_[pos_] != '"';
        if (!virgolette_aperte_) ++pos_;
        fine_campo(pos_ - start + 1);
        skip_blanks();
        consume_separator();
        return value;
    }
    virgolette_aperte_ = false;
    size_t start = pos_;
    while (!fine() && bytes_[pos_] != ',' && !line_end(pos_)) ++pos_;
    size_t end = pos_;
    while (end > start && blank(end - 1)) --end;
    value.assign(bytes_.substr(start, end - start));
    fine_campo(end - start);
    consume_separator();
    return value;
}

int64_t lettore_campi::numero(int64_t lo, int64_t hi, const char* tipo) {
    start_field();
    if (fine()) throw campo_illeggibile("input past end of file");
    if (bytes_[pos_] == ',' || line_end(pos_)) {
        consume_separator();
        return 0;
    }
    size_t start = pos_;
    while (!fine() && bytes_[pos_] != ',' && !line_end(pos_) && !blank(pos_)) ++pos_;
    std::string_view field = bytes_.substr(start, pos_ - start);
    fine_campo(field.size());
    skip_blanks();
    consume_separator();

    std::string_view digits = field;
    bool negative = false;
    if (digits.front() == '+' || digits.front() == '-') {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    auto mismatch = [&] {
        return campo_illeggibile("type mismatch: \"" + std::string(field) + "\" is not a whole number", lo, hi,
                                 std::string(field));
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
        throw campo_illeggibile("overflow: " + std::string(field) + " does not fit " + tipo, lo, hi,
                                std::string(field));
    return value;
}

int32_t lettore_campi::long_field() {
    return static_cast<int32_t>(numero(INT32_MIN, INT32_MAX, "a Long"));
}

int16_t lettore_campi::integer_field() {
    return static_cast<int16_t>(numero(INT16_MIN, INT16_MAX, "an Integer"));
}

uint8_t lettore_campi::byte_field() { return static_cast<uint8_t>(numero(0, 255, "a Byte")); }
