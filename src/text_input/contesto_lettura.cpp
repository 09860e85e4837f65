#include "text_input/contesto_lettura.h"

#include "platform/file_ops.h"
#include "text_input/confronto.h"
#include "platform/path_text.h"

void contesto_lettura::apri(file_testo quale) {
    campi.reset();
    file = quale;
    bytes = read_file(percorso());
    campi.emplace(bytes);
}

void contesto_lettura::chiudi_e_cancella() {
    campi.reset();
    if (ingressi.cancella_testi) delete_file(percorso());
}

cella& contesto_lettura::cella_at(int64_t k) {
    if (!m.griglia_allocata()) throw run_time_failure("the cell grid is used before the route length sized it");
    if (!m.in_griglia(k)) throw run_time_failure("subscript out of range: cell " + std::to_string(k));
    return m.celle[static_cast<size_t>(k)];
}

void contesto_lettura::esito(codice c) {
    m.registra_errore(c, {utf8_path(percorso()), linea_chiave});
}

bool contesto_lettura::oltre_griglia(int64_t p, int64_t margine) {
    if (p >= 0 && p + margine <= int64_t{50} * ultima_cella()) return false;
    esito(codice::oltre_griglia, static_cast<int32_t>(p));
    return true;
}

std::optional<std::string> contesto_lettura::chiave_corpo() {
    lettore_campi& r = lettore();
    if (r.fine()) return std::nullopt;
    std::string chiave = r.testo();
    if (r.fine()) return std::nullopt;
    for (int i = 0; i < 2 && contains(chiave, "-"); ++i) {
        chiave = r.testo();
        if (r.fine()) return std::nullopt;
    }
    linea_chiave = r.linea_campo();
    riconosciuto = false;
    return chiave;
}

namespace {

bool ha_lettera(const std::string& s) {
    for (unsigned char ch : s) {
        if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')) return true;
        // Windows-1252 accented letters.
        if (ch >= 0xC0 && ch != 0xD7 && ch != 0xF7) return true;
    }
    return false;
}

}  // namespace

void contesto_lettura::nota_se_ignoto(const std::string& chiave) {
    if (riconosciuto || !ha_lettera(chiave) || contains(chiave, "-")) return;
    if (contains(chiave, "[") && contains(chiave, "]")) return;
    m.registro.ignoti.push_back({file, linea_chiave, chiave});
}

std::string contesto_lettura::testo_valore() {
    std::string t = lettore().testo();
    if (t.size() > 32767) throw run_time_failure("string too long: " + std::to_string(t.size()) + " bytes");
    return t;
}

size_t contesto_lettura::registra(genere_riga genere, std::initializer_list<int32_t> valori) {
    riconosciuto = true;
    riga_letta r;
    r.file = file;
    r.linea = linea_chiave;
    r.genere = genere;
    r.valori = valori;
    m.registro.righe.push_back(std::move(r));
    return m.registro.righe.size() - 1;
}
