// The timetable card for an author's scenario.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "documents/documenti_autore.h"
#include "documents/forme_documenti.h"
#include "documents/lettura_documenti.h"

namespace {

using namespace forma_scheda;

// Between pages: the points of the separator and the empty lines around it.
constexpr size_t PUNTI_SEPARATORE = 81;

// A speed in its cell: right-aligned in four characters, then a space.
std::string velocita(int32_t v) {
    char b[16];
    std::snprintf(b, sizeof b, "%4d ", v);
    return b;
}

// "10.48": the hour (a single digit after a space) and the minute the time falls
// in; the seconds are not shown.
std::string ora(int32_t secondi) {
    char b[16];
    std::snprintf(b, sizeof b, "%2d.%02d", secondi / 3600 % 24, secondi / 60 % 60);
    return b;
}

enum class posto_orario { origine, fermata, destinazione };

std::string orario(int32_t secondi, posto_orario p) {
    if (secondi <= 0) return "";
    switch (p) {
        case posto_orario::origine: return " " + ora(secondi);
        case posto_orario::fermata: return "      " + ora(secondi);
        case posto_orario::destinazione: return "         " + ora(secondi);
    }
    return "";
}

// The margin in minutes with one decimal; nothing when there is none or it is negative.
std::string recupero(const std::optional<double>& secondi) {
    if (!secondi || !(*secondi >= 0)) return "";
    const double decimi = std::round(*secondi / 6.0);
    char b[32];
    if (decimi < 1000) std::snprintf(b, sizeof b, "%4.1f ", decimi / 10);
    else if (decimi < 100000) std::snprintf(b, sizeof b, "%4d ", static_cast<int>(decimi / 10));  // whole minutes
    else return "";
    return b;
}

struct fila {
    int32_t posizione = 0;
    std::optional<int32_t> limite, marcia;
    std::string luogo, orario, recupero;
};

std::string testo(const modello& m, const fila& r) {
    const std::optional<std::string> km = km_testo(m, r.posizione);
    return riga_tabella(CELLE_SCHEDA, {r.limite ? velocita(*r.limite) : "", r.marcia ? velocita(*r.marcia) : "",
                                       km && km->size() <= 7 ? std::string(8 - km->size(), ' ') + *km : "", "",
                                       " " + r.luogo, r.orario, r.recupero});
}

}  // namespace

tabella_righe scheda_autore(const modello& m, const dati_marcia& marcia) {
    const std::vector<stazione_documento> st = stazioni_documento(m);
    const auto cambi = cambi_velocita(m);
    // What the train may run at under a line speed.
    auto in_marcia = [&](int32_t v) {
        if (marcia.velocita_massima) v = std::min(v, *marcia.velocita_massima);
        if (marcia.limite_massa_frenata) v = std::min(v, *marcia.limite_massa_frenata);
        return v;
    };
    std::vector<fila> righe;
    for (size_t i = 0; i < st.size(); ++i) {
        const stazione_documento& s = st[i];
        fila r;
        r.posizione = s.posizione, r.luogo = s.nome;
        const posto_orario p = i == 0 ? posto_orario::origine
                               : i + 1 == st.size() ? posto_orario::destinazione
                                                    : posto_orario::fermata;
        r.orario = orario(s.orario, p);
        if (i < marcia.recupero_s.size()) r.recupero = recupero(marcia.recupero_s[i]);
        righe.push_back(r);
    }
    // The speeds: the one in force at the origin on its row, each later change up to
    // the destination on the row of a station at its place, or on a row of its own.
    if (!st.empty()) {
        const int32_t origine = st.front().posizione, destinazione = st.back().posizione;
        std::vector<fila> proprie;
        proprie.reserve(cambi.size());
        for (size_t c = 0; c < cambi.size(); ++c) {
            // Named apart rather than bound: clang 14 refuses a binding captured by the lambda below.
            const int32_t p = cambi[c].first;
            const auto v = cambi[c].second;
            const bool in_vigore = p <= origine && (c + 1 == cambi.size() || cambi[c + 1].first > origine);
            if (p > destinazione || (p <= origine && !in_vigore)) continue;
            const auto stazione = std::find_if(righe.begin(), righe.end(), [&](const fila& r) {
                return in_vigore ? &r == &righe.front() : r.posizione == p;
            });
            fila* r = nullptr;
            if (stazione != righe.end()) {
                r = &*stazione;
            } else {
                // Named by its reading, or by its position where it has none.
                const std::optional<std::string> k = km_testo(m, p);
                proprie.push_back({p, {}, {}, k ? "Km " + *k : "m " + std::to_string(p), "", ""});
                r = &proprie.back();
            }
            r->limite = v, r->marcia = in_marcia(v);
        }
        righe.insert(righe.end(), proprie.begin(), proprie.end());
        std::stable_sort(righe.begin(), righe.end(),
                         [](const fila& a, const fila& b) { return a.posizione < b.posizione; });
    }

    const size_t pagine = std::max<size_t>(1, (righe.size() + RIGHE_PAGINA_SCHEDA - 1) / RIGHE_PAGINA_SCHEDA);
    const std::string da = st.empty() ? "" : st.front().nome, a = st.empty() ? "" : st.back().nome;
    const std::string treno = riga_treno(
        riquadro_treno(m.numero_treno), da,
        "V" + (marcia.velocita_massima ? std::to_string(*marcia.velocita_massima) : std::string(DA_SCRIVERE)) + " " +
            DA_SCRIVERE);
    const std::string arrivo = riga_arrivo(a, std::to_string(m.voci[VOCE_TRENO_LINEA].inizio_zona) + "%");
    tabella_righe t = {"", ""};
    for (size_t p = 0; p < pagine; ++p) {
        if (p > 0) t.insert(t.end(), {"", "", "", std::string(PUNTI_SEPARATORE, '.'), "", ""});
        t.insert(t.end(), {BORDO, riga_scheda("SCHEDA " + std::to_string(p + 1) + "/" + std::to_string(pagine)),
                           treno, arrivo, CHIUSURA, RIQUADRI_BORDO, RIQUADRI_TITOLI,
                           riga_massa(DA_SCRIVERE, MASSA_MODELLO), RIQUADRI_FONDO, ""});
        t.insert(t.end(), TESTA.begin(), TESTA.end());
        const size_t da_riga = p * RIGHE_PAGINA_SCHEDA;
        const size_t a_riga = std::min(righe.size(), da_riga + RIGHE_PAGINA_SCHEDA);
        for (size_t i = da_riga; i < a_riga; ++i) t.push_back(testo(m, righe[i]));
        t.insert(t.end(), RIGHE_PAGINA_SCHEDA - (a_riga - std::min(a_riga, da_riga)), RIGA_VUOTA);
        t.push_back(FONDO);
    }
    t.insert(t.end(), {"", FINE_TABELLA});
    return t;
}
