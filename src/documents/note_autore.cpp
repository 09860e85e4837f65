// The notes sheet for an author's scenario: what the scenario itself says, one
// short paragraph each, in Italian.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "documents/documenti_autore.h"
#include "documents/forme_documenti.h"
#include "documents/lettura_documenti.h"

namespace {

// The sign-off stands this far in.
const std::string RIENTRO_FIRMA(40, ' ');

// "al km 12.300", or "a 37700 m" where the line has no reading there.
std::string al(const modello& m, int64_t p) {
    const auto km = km_testo(m, p);
    return km ? "al km " + *km : "a " + std::to_string(p) + " m";
}
std::string dal(const modello& m, int64_t p) {
    const auto km = km_testo(m, p);
    return km ? "dal km " + *km : "da " + std::to_string(p) + " m";
}

std::string rallentamenti(const modello& m) {
    const auto r = rallentamenti_documento(m);
    const int32_t vetture = m.voci[VOCE_TRENO_LINEA].progressiva;
    std::vector<std::string> interi;
    for (size_t i = 0; i < r.size(); ++i)
        if (r[i].f_tt == 1) interi.push_back(std::to_string(i + 1));
    if (r.empty()) return "Lungo il percorso non ci sono rallentamenti.";
    std::string out = r.size() == 1 ? "Lungo il percorso c'e' un rallentamento"
                                    : "Lungo il percorso ci sono " + std::to_string(r.size()) + " rallentamenti";
    if (interi.empty()) return out + ".";
    const std::string treno = " con tutta la lunghezza del treno (" + std::to_string(vetture) + " vetture).";
    if (r.size() == 1) return out + ", da rispettare" + treno;
    if (interi.size() == 1) return out + "; il N. " + interi[0] + " va rispettato" + treno;
    return out + "; i N. " + elenco(interi) + " vanno rispettati" + treno;
}

std::string ripetizione(const modello& m) {
    const voce& v = m.voci[VOCE_TRENO];
    if (v.progressiva == 0) return "La linea non ha la ripetizione dei segnali in macchina.";
    return "La ripetizione dei segnali e' a " + std::to_string(v.progressiva) + " codici, " + dal(m, v.inizio_zona) +
           " " + al(m, v.fine_zona) + ".";
}

// The stretches whose adhesion is below the line's most common value.
std::string aderenza(const modello& m) {
    const int64_t lunghezza = m.voci[VOCE_TRENO_LINEA].fine_zona;
    const size_t celle = std::min(m.celle.size(), static_cast<size_t>(std::max<int64_t>(0, lunghezza / METRI_CELLA + 1)));
    std::map<int, size_t> quante;
    for (size_t k = 0; k < celle; ++k) ++quante[m.celle[k].aderenza];
    if (quante.empty()) return "";
    const int comune = std::max_element(quante.begin(), quante.end(), [](const auto& a, const auto& b) {
                           return a.second < b.second;
                       })->first;
    std::vector<std::string> tratti;
    for (size_t k = 0; k < celle;) {
        if (m.celle[k].aderenza >= comune) {
            ++k;
            continue;
        }
        size_t fine = k;
        while (fine + 1 < celle && m.celle[fine + 1].aderenza < comune) ++fine;
        tratti.push_back(dal(m, static_cast<int64_t>(k) * METRI_CELLA) + " " + al(m, static_cast<int64_t>(fine + 1) * METRI_CELLA));
        k = fine + 1;
    }
    if (tratti.empty()) return "L' aderenza e' la stessa su tutto il tratto.";
    return "L' aderenza e' piu' bassa del resto della linea " + elenco(tratti) + ".";
}

// The lines of one kind the author wrote, as stretches or points.
std::vector<const riga_letta*> righe_di(const modello& m, genere_riga g) {
    std::vector<const riga_letta*> out;
    for (const riga_letta& r : m.registro.righe)
        if (r.genere == g && r.valori.size() >= 2) out.push_back(&r);
    return out;
}

std::string montagne(const modello& m) {
    std::vector<std::string> tratti;
    for (const riga_letta* r : righe_di(m, genere_riga::montagna))
        tratti.push_back(dal(m, r->valori[0]) + " " + al(m, r->valori[1]));
    if (tratti.empty()) return "";
    return (tratti.size() == 1 ? "Un tratto di montagna va " : "I tratti di montagna vanno ") + elenco(tratti) + ".";
}

std::string abbattimenti(const modello& m) {
    std::vector<std::string> punti;
    for (const riga_letta* r : righe_di(m, genere_riga::abbattimento))
        punti.push_back(al(m, r->valori[0]) + (r->valori[1] > 0 ? " (" + std::to_string(r->valori[1]) + ")" : ""));
    if (punti.empty()) return "";
    return (punti.size() == 1 ? "C'e' un abbattimento di codice " : "Ci sono abbattimenti di codice ") +
           elenco(punti) + ".";
}

}  // namespace

tabella_righe note_autore(const modello& m, const std::string& testo_autore) {
    const std::vector<stazione_documento> st = stazioni_documento(m);
    const voce& treno = m.voci[VOCE_TRENO_LINEA];
    std::vector<std::string> paragrafi = {
        "Simulazione del treno " + m.numero_treno +
            (st.empty() ? std::string(".") : " nel tratto da " + st.front().nome + " a " + st.back().nome + "."),
        "Il treno ha " + std::to_string(treno.progressiva) + " vetture e una percentuale di massa frenata del " +
            std::to_string(treno.inizio_zona) + "%.",
        ripetizione(m), rallentamenti(m), aderenza(m), montagne(m), abbattimenti(m),
    };
    tabella_righe t;
    for (const std::string& p : paragrafi)
        if (!p.empty())
            for (const std::string& l : a_capo(p, LARGHEZZA_NOTE)) t.push_back(l);
    // The author's own lines, each wrapped; CR LF or LF ends a line.
    size_t at = 0;
    while (at < testo_autore.size()) {
        size_t fine = testo_autore.find('\n', at);
        if (fine == std::string::npos) fine = testo_autore.size();
        std::string riga = testo_autore.substr(at, fine - at);
        if (!riga.empty() && riga.back() == '\r') riga.pop_back();
        for (const std::string& l : a_capo(riga, LARGHEZZA_NOTE)) t.push_back(l);
        at = fine + 1;
    }
    for (const std::string& firma : {std::string("Il realizzatore dello scenario"), "linea " + m.nome_linea})
        t.push_back((RIENTRO_FIRMA + firma).substr(0, LARGHEZZA_NOTE));
    t.push_back(FINE_TABELLA);
    return t;
}
