#include "decoding/compiled_files.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "model/nomi_file.h"
#include "platform/exit_status.h"
#include "platform/path_text.h"

namespace {

// The file is not what its kind says: truncated, empty or foreign. Thrown within
// this file only, and returned as a failure.
struct decode_failure : std::runtime_error {
    explicit decode_failure(const std::string& what) : std::runtime_error(what) {}
};

// Little-endian reads that refuse to run past the end.
class byte_reader {
public:
    explicit byte_reader(std::string_view bytes) : bytes_(bytes) {}
    size_t offset() const { return at_; }
    size_t remaining() const { return bytes_.size() - at_; }

    uint8_t u8() { return static_cast<uint8_t>(take(1)[0]); }
    uint16_t u16() {
        const char* p = take(2);
        return static_cast<uint16_t>(static_cast<uint8_t>(p[0]) | (static_cast<uint8_t>(p[1]) << 8));
    }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    int32_t i32() {
        const char* p = take(4);
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(p[i]);
        return static_cast<int32_t>(v);
    }
    double f64() {
        const char* p = take(8);
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(p[i]);
        double d;
        std::memcpy(&d, &v, sizeof d);
        return d;
    }
    std::string text(size_t n) { return std::string(take(n), n); }

    // One record field, by its type.
    void field(uint8_t& v) { v = u8(); }
    void field(int16_t& v) { v = i16(); }
    void field(int32_t& v) { v = i32(); }
    void field(std::string& testo) { testo = text(u16()); }
    template <class R>
    void record(R& r) {
        per_campo(r, [this](const char*, auto& v) { this->field(v); });
    }

    struct short_read {};

private:
    const char* take(size_t n) {
        if (remaining() < n) throw short_read{};
        const char* p = bytes_.data() + at_;
        at_ += n;
        return p;
    }
    std::string_view bytes_;
    size_t at_ = 0;
};

void refuse_empty(std::string_view bytes) {
    if (bytes.empty()) throw decode_failure("the file is empty");
}

bool is_integer(const elemento_tracciato& e, int16_t v) {
    return e.tag == elemento_tracciato::INTERO && e.intero == v;
}

tracciato_t route_from(std::string_view bytes) {
    refuse_empty(bytes);
    tracciato_t t;
    byte_reader in(bytes);
    while (in.remaining() > 0) {
        const size_t start = in.offset();
        try {
            const uint16_t tag = in.u16();
            if (tag == elemento_tracciato::VUOTO)
                t.aggiungi({});
            else if (tag == elemento_tracciato::INTERO)
                t.aggiungi(elemento_tracciato::da_intero(in.i16()));
            else if (tag == elemento_tracciato::REALE)
                t.aggiungi(elemento_tracciato::da_reale(in.f64()));
            else
                throw decode_failure("not a compiled route file: element " + std::to_string(t.numero_elementi()) +
                                     " at byte " + std::to_string(start) + " has the unknown tag " +
                                     std::to_string(tag));
        } catch (const byte_reader::short_read&) {
            throw decode_failure("truncated: the element at byte " + std::to_string(start) + " is cut short");
        }
    }
    const size_t n = t.numero_elementi();
    if (n % 2 != 0 || n < 4)
        throw decode_failure("truncated or foreign: " + std::to_string(n) +
                             " elements do not make two equal components x and y");
    t.ultimo_metro = static_cast<int32_t>(n / 2 - 1);
    // A compile whose reader stopped before the geometry began leaves every element
    // empty; any other starts at the origin heading along +y, stored as integers.
    const bool origin = is_integer(t.at(0, 0), 0) && is_integer(t.at(1, 0), 0) && is_integer(t.at(0, 1), 0) &&
                        is_integer(t.at(1, 1), 1);
    bool all_empty = true;
    for (size_t i = 0; i < n && all_empty; ++i) all_empty = t.tag(i) == elemento_tracciato::VUOTO;
    if (!origin && !all_empty)
        throw decode_failure(
            "truncated or foreign: the points of metres 0 and 1 are not the integer origin (0, 0), (0, 1) "
            "that every compiled route starts with");
    return t;
}

std::array<voce, NUMERO_VOCI> records_from(std::string_view bytes) {
    refuse_empty(bytes);
    std::array<voce, NUMERO_VOCI> voci{};
    byte_reader in(bytes);
    for (int i = 0; i < NUMERO_VOCI; ++i) {
        const size_t start = in.offset();
        try {
            in.record(voci[static_cast<size_t>(i)]);
        } catch (const byte_reader::short_read&) {
            throw decode_failure("truncated: record " + std::to_string(i) + " (from byte " + std::to_string(start) +
                                 ") is cut short; the file has " + std::to_string(bytes.size()) + " bytes");
        }
    }
    if (in.remaining() > 0)
        throw decode_failure("not a compiled train scenario file: " + std::to_string(in.remaining()) +
                             " bytes follow the 87 records");
    if (voci[VOCE_LINEA].parametro1 != TIMBRO_VOCE)
        throw decode_failure("not a compiled train scenario file: record 85 does not carry the stamp " +
                             std::to_string(TIMBRO_VOCE));
    return voci;
}

std::vector<cella> cells_from(std::string_view bytes) {
    refuse_empty(bytes);
    if (bytes.size() % BYTE_CELLA != 0)
        throw decode_failure("truncated or foreign: " + std::to_string(bytes.size()) +
                             " bytes are not a whole number of " + std::to_string(BYTE_CELLA) + "-byte cells");
    if (bytes.size() < 2 * BYTE_CELLA) throw decode_failure("truncated: fewer than two cells");
    std::vector<cella> celle(bytes.size() / BYTE_CELLA);
    byte_reader in(bytes);
    for (cella& c : celle) in.record(c);
    if (celle[1].dato1 != TIMBRO_CELLA)
        throw decode_failure("not a compiled train cell file: cell 1 does not carry the stamp " +
                             std::to_string(TIMBRO_CELLA));
    return celle;
}

template <class T>
result<T> decoded(T (*decode)(std::string_view), std::string_view bytes) {
    try {
        return decode(bytes);
    } catch (const decode_failure& e) {
        return failure{EXIT_FAILURE_IO, e.what()};
    }
}

}  // namespace

std::string_view kind_word(compiled_kind kind) {
    switch (kind) {
        case compiled_kind::route: return "route";
        case compiled_kind::scenario: return "scenario";
        case compiled_kind::cells: return "cells";
    }
    return "";
}

std::optional<compiled_kind> kind_from_word(std::string_view word) {
    for (compiled_kind k : {compiled_kind::route, compiled_kind::scenario, compiled_kind::cells})
        if (kind_word(k) == word) return k;
    return std::nullopt;
}

std::optional<compiled_kind> kind_from_name(const std::filesystem::path& path) {
    const std::string name = utf8_path(path.filename());
    if (radice_nome(name, SUFFISSO_FILE_LINEA)) return compiled_kind::route;
    if (radice_nome(name, SUFFISSO_FILE_VOCI)) return compiled_kind::scenario;
    if (radice_nome(name, SUFFISSO_FILE_CELLE)) return compiled_kind::cells;
    return std::nullopt;
}

std::string_view kind_description(compiled_kind kind) {
    switch (kind) {
        case compiled_kind::route: return "compiled route file";
        case compiled_kind::scenario: return "compiled train scenario file";
        case compiled_kind::cells: return "compiled train cell file";
    }
    return "";
}

result<tracciato_t> decode_route_file(std::string_view bytes) { return decoded(route_from, bytes); }
result<std::array<voce, NUMERO_VOCI>> decode_scenario_file(std::string_view bytes) { return decoded(records_from, bytes); }
result<std::vector<cella>> decode_cell_file(std::string_view bytes) { return decoded(cells_from, bytes); }

failure invalid_file(const std::filesystem::path& path, compiled_kind kind, const failure& why) {
    return {why.status, utf8_path(path) + ": not a valid " + std::string(kind_description(kind)) + ": " + why.message};
}
