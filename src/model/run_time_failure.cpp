#include "model/run_time_failure.h"

std::string nomi_campi(std::initializer_list<size_t> campi) {
    std::string out = campi.size() == 1 ? "field " : "fields ";
    size_t i = 0;
    for (const size_t c : campi) {
        if (i > 0) out += i + 1 == campi.size() ? " and " : ", ";
        out += std::to_string(c + 1);
        ++i;
    }
    return out;
}

run_time_failure oltre_32_bit(std::initializer_list<size_t> campi, std::string_view chiave, const luogo_testo& primo,
                              const std::string& come) {
    const size_t inizio = chiave.find_first_not_of(" \t");
    const std::string parola(inizio == std::string_view::npos ? std::string_view() : chiave.substr(inizio));
    return run_time_failure(nomi_campi(campi) + " of '" + parola + "': " + come +
                                " does not fit 32 bits (-2147483648 to 2147483647)",
                            primo);
}

std::string conto(int64_t a, const char* op, int64_t b, int64_t esatto) {
    return std::to_string(a) + " " + op + " " + std::to_string(b) + " = " + std::to_string(esatto);
}
