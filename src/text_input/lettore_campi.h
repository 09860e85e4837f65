#pragma once
// Reads a scenario text file as a stream of fields, one at a time. The files are
// a stream of fields rather than of lines: a keyword that is not recognised leaves
// its further fields to be read as the next keyword fields.
//
// Blanks are space and tab; a line end is CR LF, a lone LF or a lone CR. Bytes are
// taken as they are (Windows-1252, never transcoded). Any failure to read is a
// run_time_failure, which the scenario reader turns into its status 25.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class lettore_campi {
public:
    // The reader works on a view: the bytes must outlive it.
    explicit lettore_campi(std::string_view bytes) : bytes_(bytes) {}

    // True when no byte remains.
    bool fine() const { return pos_ >= bytes_.size(); }

    // A text field: a keyword field, a board text, a station name. Leading and
    // trailing blanks are dropped; a field opened by a double quote runs to the
    // closing quote (or the line end) and may hold commas.
    std::string testo();
    int32_t long_field();
    int16_t integer_field();
    uint8_t byte_field();

    // 1-based line of the field read last (or being read when a read fails).
    int32_t linea_campo() const { return linea_campo_; }

private:
    bool blank(size_t i) const;
    bool line_end(size_t i) const;
    void skip_blanks();
    // Consumes one comma or one line end when the next byte starts one.
    void consume_separator();
    void start_field();
    // A numeric field checked as [+-]digits and range-checked against [lo, hi].
    int64_t numero(int64_t lo, int64_t hi, const char* tipo);

    std::string_view bytes_;
    size_t pos_ = 0;
    int32_t linea_ = 1;
    int32_t linea_campo_ = 1;
};
