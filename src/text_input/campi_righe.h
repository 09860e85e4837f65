#pragma once
// Every kind of keyword line and its fields, as one table: where the line is read,
// its keyword, and each field's short name, width, unit, meaning and role, for the tooling.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/registro_lettura.h"

// The longest route the reader takes, in metres (a longer one is status 1).
constexpr int32_t LUNGHEZZA_MASSIMA = 1000000;

// How a field is read: Long, Integer, Byte (0 to 255), or a text.
enum class larghezza_campo : uint8_t { long32, integer16, byte8, testo };

// What the warnings make of a field.
enum class ruolo_campo : uint8_t {
    nessuno,
    posizione,  // field 0: the position the lines of the kind are ordered by
    lunghezza,  // a length from the position
    fine,       // an end position, compared with the start
};

struct campo_riga {
    std::string_view nome;  // as the author's reference names the field
    std::string_view breve;  // at most 8 characters, for a label beside the value
    larghezza_campo larghezza;
    std::string_view unita;  // "m", "km/h", "" for a plain number
    std::string_view significato;
    ruolo_campo ruolo = ruolo_campo::nessuno;
};

// Text fields come last, so a number's index here is its index in riga_letta::valori.
struct genere_campi {
    genere_riga genere;
    sezione_riga sezione;
    std::string_view chiave;   // the keyword as the reference's heading writes it
    std::string_view esempio;  // a whole line that the reader takes as this kind
    std::vector<campo_riga> campi;

    file_testo file() const { return sezione == sezione_riga::treno ? file_testo::treno : file_testo::linea; }
    // The numbers the reader records for a whole line of the kind. Used only by tests.
    size_t numero_valori() const;
};

// One entry per kind, in genere_riga order.
const std::vector<genere_campi>& generi_campi();
const genere_campi& campi_di(genere_riga g);

// A keyword field the reader takes as a kind.
struct forma_chiave {
    genere_riga genere;
    std::string forma;
};
// The keyword fields of a section's kinds, one for each variant the reader tells
// apart (the reference's keyword where the reader takes it alone), for
// suggestions to a keyword that matched none.
const std::vector<forma_chiave>& chiavi_sezione(sezione_riga s);

// Whether value 0 of the kind's lines is a position they are ordered by.
bool ha_posizione(genere_riga g);

// The value that gives a line's extent: its index (-1 for none), and whether it
// is an end position rather than a length.
struct campo_lunghezza {
    int indice = -1;
    bool fine = false;
};
campo_lunghezza lunghezza_di(genere_riga g);

// The section lines of a file, as the reference writes them, "[generale]" first
// and "[fine]" last: the others only group its lines for the author's eye.
const std::vector<std::string_view>& sezioni_file(file_testo f);
// The section line a route body kind's lines go under, for an author to copy;
// empty for the other kinds.
std::string_view sezione_solita(genere_riga g);
// Whether a field is a section line of either file (case and blanks around ignored).
bool sezione_nota(std::string_view campo);

// The reader's test of a kind on a keyword field: containment of its words, with
// case where the general section keeps it, and a word's stem where the reader
// tests only that ("velocit" takes "velocità" too). For the references and the
// background settings, with any of the words that tell them apart.
bool legge_come(std::string_view campo, genere_riga g);
