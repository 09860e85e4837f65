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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/registro_lettura.h"
#include "model/run_time_failure.h"

// A field that cannot be read: a number out of its range [minimo, massimo] or
// not a number (trovato holds the field's bytes), or no field at all because the
// file ended first.
struct campo_illeggibile : run_time_failure {
    campo_illeggibile(const std::string& what, int64_t minimo_, int64_t massimo_, std::string trovato_)
        : run_time_failure(what), minimo(minimo_), massimo(massimo_), trovato(std::move(trovato_)) {}
    explicit campo_illeggibile(const std::string& what) : run_time_failure(what), fine_file(true) {}
    int64_t minimo = 0, massimo = 0;
    std::string trovato;
    bool fine_file = false;
};

class lettore_campi {
public:
    // The reader works on a view: the bytes must outlive it.
    // Places name `file`.
    explicit lettore_campi(std::string_view bytes, file_testo file = file_testo::nessuno) : bytes_(bytes) {
        posto_.file = file;
    }

    // The offset of the next byte to read.
    size_t posizione() const { return pos_; }
    // Views `bytes` from here on: the same text up to posizione(), changed only after it.
    void rivedi(std::string_view bytes) { bytes_ = bytes; }

    // True when no byte remains.
    bool fine() const { return pos_ >= bytes_.size(); }

    // A text field: a keyword field, a board text, a station name. Leading and
    // trailing blanks are dropped; a field opened by a double quote runs to the
    // closing quote (or the line end) and may hold commas.
    std::string testo();
    // Whether the text field read last opened a double quote that its line does not close.
    bool virgolette_aperte() const { return virgolette_aperte_; }
    int32_t long_field();
    int16_t integer_field();
    uint8_t byte_field();

    // 1-based line of the field read last (or being read when a read fails).
    int32_t linea_campo() const { return linea_campo_; }
    // Where the field read last (or being read) stands; its length once read.
    const luogo_testo& posto() const { return posto_; }
    // Fields begun so far, counting the one being read.
    int64_t campi() const { return campi_; }
    // Starts a new list of the fields' places (at a keyword field).
    void segna() { dal_segno_.clear(); }
    // The places of the fields read since the mark, the mark's own field excluded.
    const std::vector<luogo_testo>& dal_segno() const { return dal_segno_; }
    // 1-based column just past the last byte of a line: where a missing field would go.
    int32_t fine_linea(int32_t linea) const;
    // Once no byte remains: the file's last line that holds more than blanks, from
    // its first such byte to its last (line 1, column 1 for a file of blanks).
    luogo_testo ultima_riga() const;
    // The first byte no text file holds: NUL, a C0 control other than TAB, LF and
    // CR, or DEL (a 0x1A that ends the file is the end-of-file mark).
    std::optional<byte_estraneo> primo_estraneo() const;

private:
    // Where the text ends: before one 0x1A as the very last byte, the end-of-file
    // mark of old editors, which is no part of it.
    size_t fine_testo() const;
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
    size_t inizio_linea_ = 0;  // offset of the current line's first byte
    luogo_testo posto_;
    int64_t campi_ = 0;
    bool virgolette_aperte_ = false;
    std::vector<luogo_testo> dal_segno_;
    // The field's length is known once it has been read.
    void fine_campo(size_t lunghezza) {
        posto_.length = static_cast<int32_t>(lunghezza);
        if (!dal_segno_.empty()) dal_segno_.back() = posto_;
    }
};
