#pragma once
// What the reader read, kept for the author's diagnostics (warnings, and line
// numbers for faults found later by the grid pass). Never written to a compiled file.
#include <cstdint>
#include <string>
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

struct riga_letta {
    luogo_testo luogo;             // the keyword field's place
    std::string chiave;            // the keyword field as written
    genere_riga genere = genere_riga::pendenza;
    std::vector<int32_t> valori;   // in file order, the position first where there is one
    std::vector<luogo_testo> posti;  // where each field after the keyword stands, in file order
    std::string testo;             // board text or station name
    bool oltre_geometria = false;  // a curve that ran past the geometry's last point
};

// A keyword field that matched nothing although it holds a letter, or a field
// after the last value of a line, read as a keyword field of its own.
struct campo_ignoto {
    luogo_testo posto;
    std::string testo;
    int32_t riga_prima = -1;  // for a field after a line's values: that line, in righe
};

struct registro_lettura {
    std::string percorso_linea;
    std::string percorso_treno;
    std::vector<riga_letta> righe;
    std::vector<campo_ignoto> ignoti;
    std::vector<campo_ignoto> in_piu;  // the first extra field of a line
    std::string guasto;  // what the run-time failure behind a status 25 said
    // The train file was read to its end without a "[generale]" field: nothing
    // of the train was compiled. vuoto: the file holds no byte at all.
    bool treno_senza_generale = false;
    int32_t fine_generale = 0;  // the route line that ended its general section, once read
    bool treno_vuoto = false;

    // The path of a file as the user gave it (UTF-8); empty for nessuno.
    const std::string& percorso(file_testo f) const {
        static const std::string nessuno;
        return f == file_testo::linea ? percorso_linea : f == file_testo::treno ? percorso_treno : nessuno;
    }
    void pulisci() { *this = registro_lettura{}; }
};

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
