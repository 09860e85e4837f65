#include "text_input/lettura_continua.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <utility>

#include "text_input/contesto_lettura.h"

namespace {

// A line start is kept every few body lines: a reading taken up again reads at
// most that many lines before the one left out. Past MASSIMI kept, older ones
// are let go where they stand closest, the latest RECENTI never.
constexpr uint64_t OGNI = 8;
constexpr size_t MASSIMI = 256, RECENTI = 16;

template <class T>
void tronca(std::vector<T>& v, size_t n) {
    if (v.size() > n) v.erase(v.begin() + static_cast<std::ptrdiff_t>(n), v.end());
}

// Empties the line that begins at `inizio`; the bytes it held.
size_t svuota_da(std::string& testo, size_t inizio) {
    size_t fine = inizio;
    while (fine < testo.size() && testo[fine] != '\r' && testo[fine] != '\n') ++fine;
    testo.erase(inizio, fine - inizio);
    return fine - inizio;
}

// Where each line begins, the first at 0.
std::vector<size_t> inizi_righe(const std::string& testo) {
    std::vector<size_t> inizi{0};
    for (size_t i = 0; i < testo.size(); ++i)
        if (testo[i] == '\n' || (testo[i] == '\r' && (i + 1 == testo.size() || testo[i + 1] != '\n')))
            inizi.push_back(i + 1);
    return inizi;
}

// Every member of the model and of the record outside the state a line start
// copies whole, each restored in a way of its own: the identifiers and sizes are
// set before any body line, the lists cut back by length, the cells through the
// journal, the geometry only measured. A member added to either struct changes
// its size and stops the build below until it is placed here, and in the state,
// the table of growing lists or the journal.
struct modello_oltre_stato : stato_corpo {
    std::string nome_linea, numero_treno;
    int32_t genera_tracciato, lunghezza_estesa, numero_celle;
    std::vector<errore_registrato> errori;
    registro_lettura registro;
    std::optional<rapporto_registrato> rapporto;
    std::vector<cella> celle;
    std::vector<int32_t> righe_celle;
    tracciato_t tracciato;
    diario_celle diario;
};
struct registro_oltre_stato : stato_registro {
    std::string percorso_linea, percorso_treno;
    std::array<std::vector<char>, NUMERO_LISTE_REGISTRO> liste;  // each list of the table is one vector
};
static_assert(sizeof(modello) == sizeof(modello_oltre_stato), "a member of modello the reading's snapshot misses");
static_assert(sizeof(registro_lettura) == sizeof(registro_oltre_stato),
              "a member of registro_lettura the reading's snapshot misses");

}  // namespace

// What the model and the reader held at a body line's start. The record's lists
// only grow while lines are read, so their lengths are enough, but for the last
// comment, which the fields after it on its line count into.
struct lettura_continua::punto {
    stato_lettura stato;
    size_t byte = 0;     // where the field reader stood in its file
    uint64_t riga = 0;   // body lines started before this one
    size_t scritte = 0;  // length of the cell journal
    stato_corpo modello;
    size_t errori = 0;
    stato_registro registro;
    lunghezze_liste liste{};
    std::optional<commento_con_campi> ultimo_commento;
};

lettura_continua::lettura_continua(modello& m, int32_t j, const ingressi_lettore& ingressi, testi_lettore testi)
    : m_(m), j_(j), testi_(std::move(testi)), ingressi_(ingressi) {
    ingressi_.testi = &testi_;
    ingressi_.cancella_testi = false;
    ingressi_.tracciato_misurato = true;
    ingressi_.ripresa = this;
}

lettura_continua::~lettura_continua() {
    m_.diario = {};
}

void lettura_continua::leggi() {
    m_.diario.attivo = true;
    if (punti_.empty()) {
        m_.diario.scritte.clear();
        righe_ = 0;
        m_.nuova_lettura(j_);
        memorizza_dati(m_, ingressi_);
        m_.diario.attivo = false;
        return;
    }
    const punto& p = *punti_.back();
    riporta(p);
    // Room for a whole reading's writes, each cell's few, so that the journal is not copied as it grows.
    m_.diario.scritte.reserve(4 * m_.celle.size());
    contesto_lettura c(m_, ingressi_);
    static_cast<stato_lettura&>(c) = p.stato;
    // The train file's text is lent to the reader, which reads no other after it;
    // the route file's is copied, since the reader opens the train file after it.
    const bool treno = p.stato.file == file_testo::treno;
    if (treno)
        c.bytes.swap(testi_.treno);
    else
        c.bytes = testi_.linea;
    c.campi->rivedi(c.bytes);
    // The line start taken up is kept: the next line left out may come right after it.
    righe_ = p.riga;
    leggi_fasi(c);
    if (treno) c.bytes.swap(testi_.treno);
    m_.diario.attivo = false;
}

bool lettura_continua::ometti(file_testo file, int32_t riga) {
    if (file == file_testo::nessuno || riga < 1) return false;
    const size_t quale = file == file_testo::linea ? 0 : 1;
    std::string& testo = quale == 0 ? testi_.linea : testi_.treno;
    std::vector<size_t>& inizi = inizi_[quale];
    if (inizi.empty()) inizi = inizi_righe(testo);
    if (static_cast<size_t>(riga) > inizi.size()) return false;
    const size_t inizio = inizi[static_cast<size_t>(riga) - 1];
    const size_t tolti = svuota_da(testo, inizio);
    if (tolti == 0) return false;
    for (size_t k = static_cast<size_t>(riga); k < inizi.size(); ++k) inizi[k] -= tolti;
    // A line start after the line left out, or in the train file when the route's
    // line is left out, read bytes that are no more.
    std::erase_if(punti_, [&](const std::unique_ptr<punto>& p) {
        return p->stato.file == file ? p->byte > inizio : file == file_testo::linea;
    });
    return true;
}

void lettura_continua::inizio_riga(contesto_lettura& c) {
    if (&c.m != &m_) {
        // Another reading's: the first compile's, at its train body's first line.
        if (c.file != file_testo::treno || !punti_.empty()) return;
        // The geometry, complete by now, is set aside rather than copied.
        tracciato_t geometria = std::move(c.m.tracciato);
        m_ = c.m;
        c.m.tracciato = std::move(geometria);
        m_.tracciato.misura(c.m.tracciato.ultimo_metro);
        m_.diario = {};
        righe_ = 0;
        prendi(c);
        return;
    }
    const uint64_t riga = righe_++;
    if (!punti_.empty() && punti_.back()->stato.file == c.file && riga - punti_.back()->riga < OGNI) return;
    if (punti_.size() >= MASSIMI) {
        // The older start whose going leaves the shortest stretch between its neighbours.
        size_t via = 1;
        for (size_t i = 2; i + RECENTI < punti_.size(); ++i)
            if (punti_[i + 1]->riga - punti_[i - 1]->riga < punti_[via + 1]->riga - punti_[via - 1]->riga) via = i;
        // Its room serves the next one.
        libero_ = std::move(punti_[via]);
        punti_.erase(punti_.begin() + static_cast<std::ptrdiff_t>(via));
    }
    prendi(c);
    punti_.back()->riga = riga;
}

void lettura_continua::prendi(const contesto_lettura& c) {
    punti_.push_back(libero_ ? std::move(libero_) : std::make_unique<punto>());
    punto& p = *punti_.back();
    const registro_lettura& r = m_.registro;
    p.stato = c;
    p.byte = c.campi ? c.campi->posizione() : 0;
    p.scritte = m_.diario.scritte.size();
    p.modello = m_;
    p.errori = m_.errori.size();
    p.registro = r;
    p.liste = lunghezze(r);
    // A start let go and taken again must not keep the comment of its old place.
    p.ultimo_commento = r.commenti.empty() ? std::nullopt : std::optional(r.commenti.back());
}

void lettura_continua::riporta(const punto& p) {
    std::vector<diario_celle::scritta>& scritte = m_.diario.scritte;
    for (size_t i = scritte.size(); i-- > p.scritte;) {
        const diario_celle::scritta& s = scritte[i];
        m_.celle[static_cast<size_t>(s.indice)] = s.prima;
        m_.righe_celle[static_cast<size_t>(s.indice)] = s.riga;
    }
    tronca(scritte, p.scritte);
    static_cast<stato_corpo&>(m_) = p.modello;
    tronca(m_.errori, p.errori);
    m_.rapporto.reset();
    registro_lettura& r = m_.registro;
    static_cast<stato_registro&>(r) = p.registro;
    riduci(r, p.liste);
    if (p.ultimo_commento) r.commenti.back() = *p.ultimo_commento;
}
