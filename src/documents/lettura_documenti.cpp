#include "documents/lettura_documenti.h"

#include <algorithm>

#include "placement/lettura_chilometrica.h"

std::vector<stazione_documento> stazioni_documento(const modello& m) {
    // The i-th station line fills record i: the reader stores them from 1 upward.
    size_t righe = 0;
    for (const riga_letta& r : m.registro.righe) righe += r.genere == genere_riga::stazione;
    std::vector<stazione_documento> out;
    for (size_t i = 1; i <= righe && i < VOCE_PRIMO_CARTELLO; ++i) {
        const voce& v = m.voci[i];
        out.push_back({v.testo, v.progressiva, v.inizio_zona, v.fine_zona, v.orario});
    }
    return out;
}

std::vector<rallentamento_documento> rallentamenti_documento(const modello& m) {
    std::vector<rallentamento_documento> out;
    for (const riga_letta& r : m.registro.righe)
        if (r.genere == genere_riga::rallentamento && r.valori.size() >= 4)
            out.push_back({r.valori[0], r.valori[1], r.valori[2], r.valori[3]});
    return out;
}

std::vector<std::pair<int32_t, int32_t>> cambi_velocita(const modello& m) {
    std::vector<std::pair<int32_t, int32_t>> out;
    const int64_t lunghezza = m.voci[VOCE_TRENO_LINEA].fine_zona;
    for (size_t k = 0; k < m.celle.size() && static_cast<int64_t>(k) * METRI_CELLA <= lunghezza; ++k) {
        // The cells hold the speed in steps of 5 km/h: what the train is held to.
        const int32_t v = m.celle[k].v_limite * 5;
        if (out.empty() || out.back().second != v) out.emplace_back(static_cast<int32_t>(k * METRI_CELLA), v);
    }
    return out;
}

std::optional<int64_t> lettura_km(const modello& m, int64_t p) { return lettura_chilometrica(m.voci, p); }

std::optional<std::string> km_testo(const modello& m, int64_t p) {
    const std::optional<int64_t> km = lettura_km(m, p);
    if (!km || *km < 0) return std::nullopt;
    const std::string metri = std::to_string(*km % 1000);
    return std::to_string(*km / 1000) + "." + std::string(3 - metri.size(), '0') + metri;
}

std::string elenco(const std::vector<std::string>& parti) {
    std::string out;
    for (size_t i = 0; i < parti.size(); ++i)
        out += (i == 0 ? "" : i + 1 == parti.size() ? " e " : ", ") + parti[i];
    return out;
}

std::vector<std::string> a_capo(const std::string& testo, size_t larghezza, const std::string& dato) {
    const std::string rientro = dato.size() < larghezza ? dato : "";
    std::vector<std::string> out;
    // The text's own indent stays on its first line.
    size_t at = std::min(testo.find_first_not_of(' '), testo.size());
    std::string riga = testo.substr(0, std::min(at, larghezza - 1));
    bool parole = false;  // whether riga holds a word yet
    while (at < testo.size()) {
        const size_t fine = std::min(testo.find(' ', at), testo.size());
        const std::string parola = testo.substr(at, fine - at);
        at = fine + 1;
        if (parola.empty()) continue;
        if (parole && riga.size() + 1 + parola.size() <= larghezza) {
            riga += " " + parola;
            continue;
        }
        if (parole) {
            out.push_back(riga);
            riga = rientro;
        }
        riga += parola;
        parole = true;
        // A word no line can hold goes on cut.
        while (riga.size() > larghezza) {
            out.push_back(riga.substr(0, larghezza));
            riga = rientro + riga.substr(larghezza);
        }
    }
    if (parole || out.empty()) out.push_back(riga);
    return out;
}
