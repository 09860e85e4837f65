#pragma once
// What the reader read, kept for the author's diagnostics (warnings, and line
// numbers for faults found later by the grid pass). Never written to a compiled file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "model/luogo_testo.h"

// The kinds of keyword line the reader handles.
enum class genere_riga : uint8_t {
    lunghezza,
    progressiva,  // a kilometric reference; valori: start, kilometric value, flag
    sfondo,
    ripetizione_segnali,
    pendenza,
    curva,
    montagna,
    indicatori_vmax,
    cartello_indicatore,
    frenata,
    vetture,
    velocita,
    aderenza,
    orologio,
    sabbia,
    segnale,
    rallentamento,
    abbattimento,
    stazione,
};

const char* nome_genere(genere_riga g);

// Where the reader recognises a kind: the route file reads its general section
// apart from its body; the train file has one body only.
enum class sezione_riga : uint8_t { generale, corpo, treno };

struct riga_letta {
    luogo_testo luogo;             // the keyword field's place
    std::string chiave;            // the keyword field as written
    genere_riga genere = genere_riga::pendenza;
    std::vector<int32_t> valori;   // in file order, the position first where there is one
    std::vector<luogo_testo> posti;  // where each field after the keyword stands, in file order
    std::string testo;             // board text or station name
    luogo_testo posto_testo;       // where that text stands
    bool oltre_geometria = false;  // a curve that ran past the geometry's last point
};

// A keyword field that matched nothing although it holds a letter, or a field
// after the last value of a line, read as a keyword field of its own.
struct campo_ignoto {
    luogo_testo posto;
    std::string testo;
    int32_t riga_prima = -1;  // for a field after a line's values: that line, in righe
    sezione_riga sezione = sezione_riga::generale;  // where it stands, for the keywords it may have meant
};

// What a stored value is and the field(s) it was written in: its name as a
// message gives it and, for a value made from what was written (packed from
// several fields, say), how it is made ("s1 x 10 + d1"), with the fields in that
// order.
struct origine_valore {
    static constexpr size_t MAX_POSTI = 3;
    const char* cosa = "";
    const char* come = nullptr;  // nullptr for a value stored as written
    std::array<luogo_testo, MAX_POSTI> posti{};  // the first is the value's place
    uint8_t numero_posti = 0;

    origine_valore(const char* cosa_, const luogo_testo& posto) : cosa(cosa_), posti{posto}, numero_posti(1) {}
    origine_valore(const char* cosa_, const char* come_, std::initializer_list<luogo_testo> campi)
        : cosa(cosa_), come(come_) {
        for (const luogo_testo& p : campi)
            if (numero_posti < MAX_POSTI) posti[numero_posti++] = p;
    }
};

// A value its field cannot hold: the field keeps the value's low bits. In the
// value's own terms (a gradient, not the gradient + 100 its cell holds).
struct valore_troncato {
    origine_valore origine;
    int64_t valore = 0;
    int64_t minimo = 0, massimo = 0;  // the values the field keeps exactly
    int64_t memorizzato = 0;          // what it keeps of this one
};

// A value the compiler stores in place of the one written, and why.
struct valore_sostituito {
    const char* cosa = "";
    luogo_testo posto;
    int64_t scritto = 0, memorizzato = 0;
    std::string perche;
};

// A comment field first on its line, followed on that line by fields that are
// then read as keyword fields: what the author wrote after it is lost.
struct commento_con_campi {
    luogo_testo posto;  // the comment field
    std::string testo;
    sezione_riga sezione = sezione_riga::generale;
    int32_t campi = 0;         // the fields after it on its line read as keyword fields, blank ones left out
    bool con_lettere = false;  // one of them holds a letter: text, not values
};

// Route body lines read in the general section, which runs on past where the
// body's lines begin: the first of them, and how many lines there were in all.
struct corpo_in_generale {
    luogo_testo posto;  // the first one's keyword field
    std::string chiave;
    genere_riga genere = genere_riga::pendenza;
    int32_t righe = 0;
    luogo_testo fine;  // the field that ended the general section; in no file when the file's end did
};

// A text field (a board text, a station name) its line did not hold: the reader
// went on to the next line for it, whose further fields are then read as keyword
// fields.
struct testo_da_dopo {
    luogo_testo fine_riga;  // the end of the short line, where the text is missing
    luogo_testo posto;      // the field read as the text, on a later line
    std::string testo;
    const char* cosa = "";  // "station name", "board text"
};

// A text field opened by a double quote that no quote closes on its line.
struct virgolette_aperte {
    luogo_testo posto;  // the text field, the quote included
    std::string testo;
    const char* cosa = "";
};

// A byte that no text file holds (NUL, a control character), where it stands.
struct byte_estraneo {
    luogo_testo posto;
    uint8_t byte = 0;
};

// What reading a body line may change of the record but for its lists, which
// only grow: copied back whole by a reading taken up again at a line start.
struct stato_registro {
    std::string guasto;  // what the run-time failure behind a status 25 said
    // The train file was read to its end without a "[generale]" field: nothing
    // of the train was compiled. vuoto: the file holds no byte at all.
    bool treno_senza_generale = false;
    bool treno_vuoto = false;
    int32_t fine_generale = 0;  // the route line that ended its general section, once read
    std::optional<corpo_in_generale> corpo_nel_generale;
};

struct registro_lettura : stato_registro {
    std::string percorso_linea;
    std::string percorso_treno;
    std::vector<riga_letta> righe;
    std::vector<campo_ignoto> ignoti;
    std::vector<campo_ignoto> in_piu;  // the first extra field of a line
    // Values stored otherwise than written, recorded by the stores themselves.
    std::vector<valore_troncato> troncati;
    std::vector<valore_sostituito> sostituiti;
    // Speeds stored in steps of 5 km/h: a line speed or a speed board's value that
    // is no such step, with what is kept of it.
    std::vector<valore_sostituito> arrotondati;
    std::vector<commento_con_campi> commenti;
    std::vector<testo_da_dopo> testi_da_dopo;
    std::vector<virgolette_aperte> virgolette;
    // Section lines ("[...]" first on a line) that name none of the files' sections.
    std::vector<campo_ignoto> sezioni_ignote;
    std::vector<byte_estraneo> estranei;  // the first of each file, as the reader opened it
    // The files read to their end without a "[fine]" field: the place of each one's last line.
    std::vector<luogo_testo> senza_fine;

    // The path of a file as the user gave it (UTF-8); empty for nessuno.
    const std::string& percorso(file_testo f) const {
        static const std::string nessuno;
        return f == file_testo::linea ? percorso_linea : f == file_testo::treno ? percorso_treno : nessuno;
    }
    // Where value field i of the line recorded last stands: the placements place
    // that line's object. No place when there is no such field.
    luogo_testo posto_in_ultima(size_t i) const {
        return righe.empty() || i >= righe.back().posti.size() ? luogo_testo{} : righe.back().posti[i];
    }
    // The keyword of the line recorded last, as written; the kind's name when there is none.
    std::string_view chiave_in_ultima(genere_riga g) const {
        return righe.empty() ? std::string_view(nome_genere(g)) : std::string_view(righe.back().chiave);
    }
    void pulisci() { *this = registro_lettura{}; }
};

// Every list of the record, all of which only grow while the files are read: a
// reading taken up again at a line start cuts each back to its length there.
inline constexpr std::tuple LISTE_REGISTRO{
    &registro_lettura::righe,         &registro_lettura::ignoti,      &registro_lettura::in_piu,
    &registro_lettura::troncati,      &registro_lettura::sostituiti,  &registro_lettura::arrotondati,
    &registro_lettura::commenti,      &registro_lettura::testi_da_dopo, &registro_lettura::virgolette,
    &registro_lettura::sezioni_ignote, &registro_lettura::estranei,   &registro_lettura::senza_fine};
inline constexpr size_t NUMERO_LISTE_REGISTRO = std::tuple_size_v<decltype(LISTE_REGISTRO)>;
using lunghezze_liste = std::array<size_t, NUMERO_LISTE_REGISTRO>;

inline lunghezze_liste lunghezze(const registro_lettura& r) {
    return std::apply([&](auto... lista) { return lunghezze_liste{(r.*lista).size()...}; }, LISTE_REGISTRO);
}
inline void riduci(registro_lettura& r, const lunghezze_liste& n) {
    size_t i = 0;
    const auto taglia = [](auto& v, size_t k) {
        if (v.size() > k) v.erase(v.begin() + static_cast<std::ptrdiff_t>(k), v.end());
    };
    std::apply([&](auto... lista) { (taglia(r.*lista, n[i++]), ...); }, LISTE_REGISTRO);
}

inline const char* nome_genere(genere_riga g) {
    switch (g) {
        case genere_riga::lunghezza: return "lunghezza";
        case genere_riga::progressiva: return "progressiva";
        case genere_riga::sfondo: return "sfondo";
        case genere_riga::ripetizione_segnali: return "ripetizione_segnali";
        case genere_riga::pendenza: return "pendenza";
        case genere_riga::curva: return "curva";
        case genere_riga::montagna: return "montagna";
        case genere_riga::indicatori_vmax: return "indicatori_vmax";
        case genere_riga::cartello_indicatore: return "cartello_indicatore";
        case genere_riga::frenata: return "frenata";
        case genere_riga::vetture: return "vetture";
        case genere_riga::velocita: return "velocita";
        case genere_riga::aderenza: return "aderenza";
        case genere_riga::orologio: return "orologio";
        case genere_riga::sabbia: return "sabbia";
        case genere_riga::segnale: return "segnale";
        case genere_riga::rallentamento: return "rallentamento";
        case genere_riga::abbattimento: return "abbattimento";
        case genere_riga::stazione: return "stazione";
    }
    return "";
}
