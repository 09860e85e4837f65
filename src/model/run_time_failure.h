#pragma once
// A run-time failure: a value that does not fit its type, a field that cannot be
// read, an overflow. The scenario reader turns any of these into status 25;
// anywhere else it ends the run.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/luogo_testo.h"

struct run_time_failure : std::runtime_error {
    explicit run_time_failure(const std::string& what) : std::runtime_error(what) {}
    // A value that does not fit, thrown where the field it came from is known:
    // what() then says which field, the value and the range on its own.
    run_time_failure(const std::string& what, const luogo_testo& campo_) : std::runtime_error(what), campo(campo_) {}
    luogo_testo campo;  // the value's field (the first, for one made from several); none when unknown
};

// Value fields as messages number them (0 the first after the keyword, shown as
// field 1): "field 2", "fields 1 and 3", "fields 14, 15 and 16".
std::string nomi_campi(std::initializer_list<size_t> campi);

// The failure of a 32-bit computation over value fields `campi` of the line of
// keyword `chiave` (as written), at its first field `primo`: which fields, how
// the value is made from them (`come`, with its numbers) and the range.
run_time_failure oltre_32_bit(std::initializer_list<size_t> campi, std::string_view chiave, const luogo_testo& primo,
                              const std::string& come);

// Runs f, a 32-bit computation over value fields of a line; an overflow in it
// (a failure that names no field) is rethrown by oltre_32_bit, with come() for
// how the value is made.
template <class C, class F>
auto calcolo_campi(std::initializer_list<size_t> campi, std::string_view chiave, const luogo_testo& primo, C&& come,
                   F&& f) {
    try {
        return f();
    } catch (const run_time_failure& e) {
        if (e.campo.line > 0) throw;
        throw oltre_32_bit(campi, chiave, primo, come());
    }
}

// "a op b = esatto", for come: the computation with its numbers and its exact value.
std::string conto(int64_t a, const char* op, int64_t b, int64_t esatto);
