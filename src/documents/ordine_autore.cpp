// The slowdown order form for an author's scenario.
#include <algorithm>
#include <string>
#include <vector>

#include "documents/documenti_autore.h"
#include "documents/forme_documenti.h"
#include "documents/lettura_documenti.h"

namespace {

using namespace forma_ordine;

// Where a restriction lies among the stations.
struct tra_stazioni {
    std::string testo;                 // the station cell's text, without its leading space
    std::string prima, dopo;           // the pair, when it is one ("A -" and "B" when it is split)
    std::vector<std::string> toccate;  // the stations whose area it reaches, for note B
};

tra_stazioni dove(const std::vector<stazione_documento>& st, const rallentamento_documento& r) {
    const int64_t inizio = r.inizio, fine = int64_t{r.inizio} + r.lunghezza;
    tra_stazioni t;
    // Wholly inside one station's area: in that station.
    for (const stazione_documento& s : st)
        if (s.inizio_zona <= inizio && fine <= s.fine_zona) {
            t.testo = s.nome;
            return t;
        }
    const stazione_documento* prima = nullptr;
    const stazione_documento* dopo = nullptr;
    for (const stazione_documento& s : st) {
        if (s.fine_zona <= inizio) prima = &s;
        else if (s.inizio_zona >= fine) {
            if (!dopo) dopo = &s;
        } else {
            t.toccate.push_back(s.nome);
        }
    }
    // With no station on a side, the station reached at that end stands there.
    if (!prima && !t.toccate.empty()) t.prima = t.toccate.front();
    else if (prima) t.prima = prima->nome;
    if (!dopo && !t.toccate.empty()) t.dopo = t.toccate.back();
    else if (dopo) t.dopo = dopo->nome;
    if (t.prima == t.dopo) t.dopo.clear();
    t.testo = t.prima.empty() || t.dopo.empty() ? t.prima + t.dopo : t.prima + " - " + t.dopo;
    return t;
}

std::string prescrizione(bool a, bool b) {
    if (a && b) return "A B";
    if (a) return "A";
    if (b) return "B";
    return NESSUNA_NOTA;
}

// The rows of one restriction: its own, and a continuation for a pair too long for its cell.
std::vector<std::string> righe_di(size_t numero, const tra_stazioni& t, const rallentamento_documento& r,
                                  const modello& m) {
    const size_t cella = static_cast<size_t>(CELLE_ORDINE[1]) - 1;  // after the leading space
    std::string cippo;
    // The train runs towards lower readings: the post it passes just before the
    // start is the first whole kilometre at or above the reading there.
    if (const auto km = lettura_km(m, r.inizio)) {
        const int64_t intero = *km >= 0 ? (*km + 999) / 1000 : -(-*km / 1000);
        cippo = std::to_string(intero);
    }
    const bool diviso = t.testo.size() > cella && !t.dopo.empty();
    const std::string stazioni = " " + (diviso ? t.prima + " -" : t.testo);
    auto c = [](const std::string& v, int w) { return centrato(v, static_cast<size_t>(w)); };
    std::vector<std::string> out = {riga_tabella(
        CELLE_ORDINE, {c(std::to_string(numero), CELLE_ORDINE[0]), stazioni, c(cippo, CELLE_ORDINE[2]),
                       c(std::to_string(r.velocita), CELLE_ORDINE[3]), c(std::to_string(r.lunghezza), CELLE_ORDINE[4]),
                       c(prescrizione(r.f_tt == 1, !t.toccate.empty()), CELLE_ORDINE[5])})};
    if (diviso) out.push_back(riga_tabella(CELLE_ORDINE, {"", " " + t.dopo}));
    return out;
}

void pagina(tabella_righe& t, const std::vector<std::string>& righe, const std::string& linea,
            const std::string& treno) {
    t.insert(t.end(), {"", TITOLO, SOTTOTITOLO, RIGA_ALTA, riga_linea(linea), "", riga_ordine(treno), RIGA_TABELLA});
    t.insert(t.end(), TESTA.begin(), TESTA.end());
    t.insert(t.end(), righe.begin(), righe.end());
    t.insert(t.end(), RIGHE_TABELLA - righe.size(), RIGA_VUOTA);
    t.push_back(FONDO);
}

}  // namespace

tabella_righe ordine_autore(const modello& m) {
    const std::vector<stazione_documento> st = stazioni_documento(m);
    const std::string linea = st.empty() ? "" : st.front().nome + " - " + st.back().nome;
    bool con_a = false;
    std::vector<std::string> toccate;
    // The rows page by page; a restriction's rows stay on one page.
    std::vector<std::vector<std::string>> pagine(1);
    size_t numero = 0;
    for (const rallentamento_documento& r : rallentamenti_documento(m)) {
        const tra_stazioni t = dove(st, r);
        con_a = con_a || r.f_tt == 1;
        for (const std::string& s : t.toccate)
            if (std::find(toccate.begin(), toccate.end(), s) == toccate.end()) toccate.push_back(s);
        const std::vector<std::string> righe = righe_di(++numero, t, r, m);
        if (pagine.back().size() + righe.size() > RIGHE_TABELLA) pagine.emplace_back();
        pagine.back().insert(pagine.back().end(), righe.begin(), righe.end());
    }
    tabella_righe t;
    for (const auto& righe : pagine) pagina(t, righe, linea, m.numero_treno);
    t.insert(t.end(), {"", TITOLO_NOTE});
    if (con_a) t.push_back(NOTA_A);
    if (!toccate.empty()) {
        const std::string b = std::string(NOTA_B) + (toccate.size() == 1 ? "la stazione di " : "le stazioni di ") +
                              elenco(toccate);
        for (const std::string& l : a_capo(b, LARGHEZZA, "     ")) t.push_back(l);
    }
    t.insert(t.end(), NOTE_D_C.begin(), NOTE_D_C.end());
    t.push_back(FINE_TABELLA);
    return t;
}
