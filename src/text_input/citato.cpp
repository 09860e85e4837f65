#include "text_input/citato.h"

std::string citato(const std::string& testo) {
    constexpr size_t MOSTRATI = 40;
    const std::string inizio = testo.size() <= MOSTRATI + 20
                                   ? testo
                                   : testo.substr(0, MOSTRATI) + "... (" + std::to_string(testo.size()) + " bytes)";
    return "'" + inizio + "'";
}
