#include "documents/forme_documenti.h"

std::string a_sinistra(std::string_view testo, size_t larghezza) {
    std::string out(testo.substr(0, larghezza));
    out.resize(larghezza, ' ');
    return out;
}

std::string centrato(std::string_view testo, size_t larghezza) {
    if (testo.size() >= larghezza) return std::string(testo.substr(0, larghezza));
    const size_t spare = larghezza - testo.size();
    return std::string(spare / 2, ' ') + std::string(testo) + std::string(spare - spare / 2, ' ');
}

std::string riga_tabella(larghezze_celle larghezze, const std::vector<std::string>& testi) {
    std::string out = " |";
    for (size_t i = 0; i < larghezze.size(); ++i)
        out += a_sinistra(i < testi.size() ? testi[i] : std::string(), static_cast<size_t>(larghezze[i])) + "|";
    return out;
}

namespace forma_scheda {

namespace {
// The middle field's texts start after these many spaces, the colons of "da:" and
// "a:" in one column.
constexpr size_t RIENTRO_SCHEDA = 20, RIENTRO_DA = 19, RIENTRO_A = 20;

std::string campo(size_t rientro, std::string_view testo) {
    return a_sinistra(std::string(rientro, ' ') + std::string(testo), CAMPO_CENTRALE);
}
}  // namespace

std::string riga_scheda(std::string_view numero_scheda) {
    return " |" + std::string(RIQUADRO_TRENO, ' ') + "|" + campo(RIENTRO_SCHEDA, numero_scheda) + "|" +
           std::string(RIQUADRO_VELOCITA, ' ') + "|";
}

std::string riga_treno(std::string_view treno, std::string_view da, std::string_view velocita) {
    return " |" + a_sinistra(treno, RIQUADRO_TRENO) + "|" + campo(RIENTRO_DA, "da: " + std::string(da)) + "|" +
           centrato(velocita, RIQUADRO_VELOCITA) + "|";
}

std::string riga_arrivo(std::string_view a, std::string_view massa_frenata) {
    return " |" + std::string(RIQUADRO_TRENO, '_') + "|" + campo(RIENTRO_A, "a: " + std::string(a)) + "|" +
           centrato(massa_frenata, RIQUADRO_VELOCITA) + "|";
}

std::string riga_massa(std::string_view classificazione, std::string_view massa_bloccata) {
    return " |" + centrato(classificazione, RIQUADRO_TRENO) + "|              |" +
           a_sinistra(massa_bloccata, RIQUADRO_TRENO) + "|";
}

std::string riquadro_treno(std::string_view numero) {
    const std::string testo = "   TRENO n. " + std::string(numero);
    // A long number takes the space after "n." first.
    return testo.size() <= RIQUADRO_TRENO ? testo : "   TRENO n." + std::string(numero);
}

}  // namespace forma_scheda

namespace forma_ordine {

std::string riga_linea(std::string_view linea) { return "  Linea  " + std::string(linea); }

std::string riga_ordine(std::string_view treno) {
    return "  Si ordina al macchinista del treno  " + std::string(treno) + "  di effettuare i seguenti rallentamenti";
}

}  // namespace forma_ordine
