#include "text_input/campi_righe.h"

#include <algorithm>
#include <array>
#include <string>

#include "text_input/confronto.h"

namespace {

constexpr larghezza_campo L = larghezza_campo::long32;
constexpr larghezza_campo I = larghezza_campo::integer16;
constexpr larghezza_campo B = larghezza_campo::byte8;
constexpr larghezza_campo T = larghezza_campo::testo;
constexpr ruolo_campo POSIZIONE = ruolo_campo::posizione;
constexpr ruolo_campo LUNGHEZZA = ruolo_campo::lunghezza;
constexpr ruolo_campo FINE = ruolo_campo::fine;

using S = sezione_riga;
using G = genere_riga;

// Built on first use, so that another unit's static data may read it.
const std::vector<genere_campi>& tabella() {
    static const std::vector<genere_campi> t = {
        {G::lunghezza, S::generale, "lunghezza percorso", "lunghezza percorso, 12000",
         {{"length of the route", "length", L, "m", "sizes the cell grid and the track plan, with a 7,000 m margin"}}},
        {G::progressiva, S::generale, "progressiva chilometrica", "progressiva chilometrica uno, 0, 100000, 0",
         {{"start", "from", L, "m", "where along the route the reference begins"},
          {"kilometric value at the start", "km", L, "m", "the kilometre post shown at the start"},
          {"flag", "flag", L, "", "1 adds 100 m to the kilometric value"}}},
        {G::sfondo, S::generale, "sfondo", "sfondo uno, 1",
         {{"setting", "setting", L, "", "a background setting, stored unchanged"}}},
        {G::ripetizione_segnali, S::generale, "ripetizione segnali", "ripetizione segnali 4 codici, 0, 11000",
         {{"start", "from", L, "m", "where cab-signal repetition begins"},
          {"end", "to", L, "m", "where it ends; 0 for no repetition"}}},
        {G::pendenza, S::corpo, "pendenza", "pendenza, 3000, 5",
         {{"position", "pos", L, "m", "where the gradient takes effect", POSIZIONE},
          {"gradient", "grad", L, "", "the gradient up to the next gradient line"}}},
        {G::curva, S::corpo, "curva", "curvas3, 2000, 600",
         {{"start", "from", L, "m", "where the curve begins", POSIZIONE},
          {"length", "len", L, "m", "how far the curve turns", LUNGHEZZA}}},
        {G::montagna, S::corpo, "montagna", "montagna, 4000, 5000, 11",
         {{"start", "from", L, "m", "where the span begins", POSIZIONE},
          {"end", "to", L, "m", "where the span ends", FINE},
          {"type", "type", L, "", "the span type; above 10, type - 10 with markers"}}},
        {G::indicatori_vmax, S::corpo, "indicatori_vmax", "indicatori_vmax, 1950, 100, 110, 120, 0, 100, 110, 120, 0",
         {{"position", "pos", L, "m", "where the speed-indicator board stands", POSIZIONE},
          {"first group: speed a", "1st v a", L, "km/h", "first speed of the first group"},
          {"first group: speed b", "1st v b", L, "km/h", "second speed of the first group"},
          {"first group: speed c", "1st v c", L, "km/h", "third speed of the first group"},
          {"first group: stripes", "1st bars", L, "", "stripe count of the first group"},
          {"second group: speed a", "2nd v a", L, "km/h", "first speed of the second group"},
          {"second group: speed b", "2nd v b", L, "km/h", "second speed of the second group"},
          {"second group: speed c", "2nd v c", L, "km/h", "third speed of the second group"},
          {"second group: stripes", "2nd bars", L, "", "stripe count of the second group"}}},
        {G::cartello_indicatore, S::corpo, "cartello_indicatore", "cartello_indicatore, 4400, (Km 104+400)",
         {{"position", "pos", L, "m", "where the indication board stands", POSIZIONE},
          {"board text", "text", T, "", "the text shown on the board"}}},
        {G::frenata, S::treno, "percentuale massa frenata", "percentuale massa frenata, 110",
         {{"braked-mass percentage", "braked", L, "%", "the train's braked mass, stored unchanged"}}},
        {G::vetture, S::treno, "numero vetture", "numero vetture, 6",
         {{"number of coaches", "coaches", L, "", "the train's coaches, stored unchanged"}}},
        {G::velocita, S::treno, "velocita", "velocita, 2000, 140",
         {{"position", "pos", L, "m", "where the speed limit takes effect", POSIZIONE},
          {"speed limit", "v", L, "km/h", "the line speed up to the next speed line, in steps of 5"}}},
        {G::aderenza, S::treno, "aderenza", "aderenza, 0, 100",
         {{"position", "pos", L, "m", "where the adhesion takes effect", POSIZIONE},
          {"adhesion", "adh", L, "", "the adhesion up to the next adhesion line, 0 to 255"}}},
        {G::orologio, S::treno, "orologio", "orologio, 8, 30, 0",
         {{"hours", "h", I, "h", "clock time at the start of the run: hours"},
          {"minutes", "min", I, "min", "clock time at the start of the run: minutes"},
          {"seconds", "s", I, "s", "clock time at the start of the run: seconds"}}},
        {G::sabbia, S::treno, "sabbia", "sabbia, 200",
         {{"sand carried", "sand", I, "", "the train's sand, stored unchanged"}}},
        {G::segnale, S::treno, "segnale", "segnale, 1650, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0",
         {{"position", "pos", L, "m", "where the signal stands", POSIZIONE},
          {"sx", "sx", L, "", "first side value; 2 makes the time value count"},
          {"s1", "s1", L, "", "packed with d1 as s1 x 10 + d1"},
          {"s2", "s2", L, "", "packed with d2 as s2 x 10 + d2"},
          {"s3", "s3", L, "", "packed with d3 as s3 x 10 + d3"},
          {"rapp", "rapp", L, "", "packed as rapp x 10 + sx x 3 + dx"},
          {"dx", "dx", L, "", "second side value"},
          {"d1", "d1", L, "", "partner of s1"},
          {"d2", "d2", L, "", "partner of s2"},
          {"d3", "d3", L, "", "partner of s3"},
          {"time value", "time", L, "", "1 to 100 is raised to 101; kept only when sx is 2"}}},
        {G::rallentamento, S::treno, "rallentamento", "rallentamento, 8500, 60, 300, 1, 1, 60",
         {{"start", "from", L, "m", "where the speed restriction begins", POSIZIONE},
          {"speed", "v", L, "km/h", "the restricted speed"},
          {"length", "len", L, "m", "how far the restriction runs", LUNGHEZZA},
          {"value copied into the start and end cells", "ends", L, "", "stored in the start and end cells"},
          {"pre-warning", "warning", L, "", "non-zero also places four pre-warning cells"},
          {"value copied into every cell of the restriction when not 0", "along", L, "", "stored along the restriction"}}},
        {G::abbattimento, S::treno, "abbattimento", "abbattimento, 3000, 180",
         {{"position", "pos", L, "m", "where the code cut stands", POSIZIONE},
          {"value", "val", L, "", "stored with the cut when above 0"}}},
        {G::stazione, S::treno, "stazione", "stazione, 6000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 0, 0, 0, FERMATA",
         {{"position", "pos", L, "m", "the station's position, a multiple of 50", POSIZIONE},
          {"kind", "kind", B, "", "decides the station's area and its marking"},
          {"length", "len", L, "m", "the platform length, a multiple of 100", LUNGHEZZA},
          {"field 4", "f4", B, "", "stored unchanged"},
          {"field 5", "f5", B, "", "cleared below a length of 600 and for the first station"},
          {"field 6", "f6", B, "", "non-zero lengthens a centred area by 50 m"},
          {"field 7", "f7", I, "", "stored unchanged"},
          {"field 8", "f8", I, "", "stored unchanged"},
          {"field 9", "f9", B, "", "stored unchanged"},
          {"field 10", "f10", I, "", "stored unchanged"},
          {"field 11", "f11", I, "", "stored unchanged"},
          {"field 12", "f12", I, "", "stored unchanged"},
          {"field 13", "f13", B, "", "stored unchanged"},
          {"hours", "h", L, "h", "timetable time: hours; 0, 0, 0 for no time"},
          {"minutes", "min", L, "min", "timetable time: minutes"},
          {"seconds", "s", L, "s", "timetable time: seconds"},
          {"name", "name", T, "", "the station's name"}}},
    };
    return t;
}

// The keyword fields of a kind: where the reader tells variants apart, one of
// each (the words it tells them by are the reader's); otherwise the keyword.
std::vector<std::string> forme(const genere_campi& g) {
    const std::string chiave(g.chiave);
    switch (g.genere) {
        case G::progressiva:
        case G::sfondo: return {chiave + " uno", chiave + " due", chiave + " tre"};
        case G::ripetizione_segnali: return {chiave + " 4 codici", chiave + " 9 codici"};
        case G::curva: {
            std::vector<std::string> out;
            for (const char lato : {'s', 'd'})
                for (char classe = '1'; classe <= '6'; ++classe) out.push_back(chiave + lato + classe);
            return out;
        }
        default: return {chiave};
    }
}

}  // namespace

const std::vector<forma_chiave>& chiavi_sezione(sezione_riga s) {
    static const std::array<std::vector<forma_chiave>, 3> per_sezione = [] {
        std::array<std::vector<forma_chiave>, 3> t;
        for (const genere_campi& g : tabella())
            for (std::string& f : forme(g)) t[static_cast<size_t>(g.sezione)].push_back({g.genere, std::move(f)});
        return t;
    }();
    return per_sezione[static_cast<size_t>(s)];
}

size_t genere_campi::numero_valori() const {
    return static_cast<size_t>(
        std::count_if(campi.begin(), campi.end(), [](const campo_riga& c) { return c.larghezza != T; }));
}

const std::vector<genere_campi>& generi_campi() { return tabella(); }

const genere_campi& campi_di(genere_riga g) { return tabella()[static_cast<size_t>(g)]; }

bool ha_posizione(genere_riga g) {
    const std::vector<campo_riga>& campi = campi_di(g).campi;
    return !campi.empty() && campi.front().ruolo == POSIZIONE;
}

campo_lunghezza lunghezza_di(genere_riga g) {
    const std::vector<campo_riga>& campi = campi_di(g).campi;
    for (size_t i = 0; i < campi.size(); ++i)
        if (campi[i].ruolo == LUNGHEZZA || campi[i].ruolo == FINE)
            return {static_cast<int>(i), campi[i].ruolo == FINE};
    return {};
}

const std::vector<std::string_view>& sezioni_file(file_testo f) {
    static const std::vector<std::string_view> linea = {"[generale]", "[curve]",       "[pendenze]", "[montagne]",
                                                        "[cartelli]", "[indicazioni]", "[fine]"};
    static const std::vector<std::string_view> treno = {"[generale]",      "[aderenze]", "[vel_limite]", "[stazioni]",
                                                        "[rallentamenti]", "[segnali]",  "[codici]",     "[fine]"};
    return f == file_testo::treno ? treno : linea;
}

std::string_view sezione_solita(genere_riga g) {
    const std::vector<std::string_view>& s = sezioni_file(file_testo::linea);
    switch (g) {
        case genere_riga::curva: return s[1];
        case genere_riga::pendenza: return s[2];
        case genere_riga::montagna: return s[3];
        case genere_riga::indicatori_vmax: return s[4];
        case genere_riga::cartello_indicatore: return s[5];
        default: return {};
    }
}

bool sezione_nota(std::string_view campo) {
    const size_t inizio = campo.find_first_not_of(" \t"), fine = campo.find_last_not_of(" \t");
    if (inizio == std::string_view::npos) return false;
    campo = campo.substr(inizio, fine - inizio + 1);
    for (const file_testo f : {file_testo::linea, file_testo::treno})
        for (const std::string_view s : sezioni_file(f))
            if (campo.size() == s.size() && find_ignore_case(campo, s) == 0) return true;
    return false;
}

bool legge_come(std::string_view campo, genere_riga g) {
    const auto ha = [&](std::string_view w) { return contains_ignore_case(campo, w); };
    const auto numerata = [&] { return contains(campo, "uno") || contains(campo, "due") || contains(campo, "tre"); };
    switch (g) {
        case genere_riga::lunghezza: return ha("percorso") && ha("lunghezza");
        case genere_riga::progressiva: return contains(campo, "progressiva") && numerata();
        case genere_riga::sfondo: return contains(campo, "sfondo") && numerata();
        case genere_riga::ripetizione_segnali: return contains(campo, "segnali") && contains(campo, "ripetizione");
        case genere_riga::pendenza: return ha("pendenza");
        case genere_riga::curva: return ha("curva");
        case genere_riga::montagna: return ha("montagna");
        case genere_riga::indicatori_vmax: return ha("indicatori_v");
        case genere_riga::cartello_indicatore: return ha("indicat") && ha("cartello");
        case genere_riga::frenata: return ha("frenata") && ha("massa");
        case genere_riga::vetture: return ha("vetture");
        case genere_riga::velocita: return ha("velocit");
        case genere_riga::aderenza: return ha("aderenza");
        case genere_riga::orologio: return ha("orologio");
        case genere_riga::sabbia: return ha("sabbia");
        case genere_riga::segnale: return ha("segnale");
        case genere_riga::rallentamento: return ha("rallentamento");
        case genere_riga::abbattimento: return ha("abbattimento");
        case genere_riga::stazione: return ha("stazione");
    }
    return false;
}
