#include "compile/file_compilati.h"

#include <cstring>

#include "model/nomi_file.h"
#include "model/run_time_failure.h"
#include "platform/file_ops.h"

namespace {

// Appends little-endian bytes whatever the host's byte order.
struct scrittore {
    std::string byte;

    void u8(uint8_t v) { byte.push_back(static_cast<char>(v)); }
    void u16(uint16_t v) {
        u8(static_cast<uint8_t>(v));
        u8(static_cast<uint8_t>(v >> 8));
    }
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void i32(int32_t v) {
        uint32_t u = static_cast<uint32_t>(v);
        for (int s = 0; s < 32; s += 8) u8(static_cast<uint8_t>(u >> s));
    }
    void f64(double v) {
        uint64_t u;
        std::memcpy(&u, &v, sizeof u);
        for (int s = 0; s < 64; s += 8) u8(static_cast<uint8_t>(u >> s));
    }

    // One record field, by its type.
    void campo(uint8_t v) { u8(v); }
    void campo(int16_t v) { i16(v); }
    void campo(int32_t v) { i32(v); }
    void campo(const std::string& testo) {
        u16(static_cast<uint16_t>(testo.size()));
        byte += testo;
    }
    template <class R>
    void record(const R& r) {
        per_campo(r, [this](const char*, const auto& v) { this->campo(v); });
    }
};

}  // namespace

void scrivi_tracciato(const tracciato_t& t, const byte_sink& put) {
    // Straight from the geometry's storage, which holds the file's bytes.
    t.per_tratto([&put](const char* byte, size_t n) { put({byte, n}); });
}

std::string byte_voci(const std::array<voce, NUMERO_VOCI>& voci) {
    scrittore w;
    for (const voce& v : voci) {
        // The reader refuses longer texts; a longer one here would not survive
        // its 2-byte length and would shift every later record.
        if (v.testo.size() > 32767) throw run_time_failure("overflow: a record text is longer than 32767 bytes");
        w.record(v);
    }
    return std::move(w.byte);
}

std::string byte_celle(const std::vector<cella>& celle) {
    scrittore w;
    w.byte.reserve(celle.size() * BYTE_CELLA);
    for (const cella& c : celle) w.record(c);
    return std::move(w.byte);
}

std::vector<std::string> scrivi_file_compilati(const modello& m, const std::filesystem::path& cartella) {
    std::vector<std::string> nomi;
    std::vector<file_to_write> file;
    auto aggiungi = [&](const std::string& nome, std::string byte) {
        file.push_back({percorso_file(cartella, nome), std::move(byte), {}});
        nomi.push_back(nome);
    };
    if (m.genera_tracciato != 0) {
        file.push_back({percorso_file(cartella, nome_file_linea(m)), {},
                        [&m](const byte_sink& put) { scrivi_tracciato(m.tracciato, put); }});
        nomi.push_back(nome_file_linea(m));
    }
    aggiungi(nome_file_voci(m), byte_voci(m.voci));
    aggiungi(nome_file_celle(m), byte_celle(m.celle));
    write_files(file);
    return nomi;
}
