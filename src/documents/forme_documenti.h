#pragma once
// The driver documents' boxes: the cells of their tables, the lines that head and
// close them, and how a value stands in its cell. The carried documents and the
// ones made for an author's scenario are drawn from this one table.
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using larghezze_celle = std::span<const int>;

// The timetable card's row: Vel. Lim., Vel. Marc., Progr Km, No Rs, place, time, margin.
inline constexpr std::array<int, 7> CELLE_SCHEDA = {5, 5, 10, 5, 28, 16, 5};
// The slowdown order's row: N., between the stations, post, speed, length, prescription.
inline constexpr std::array<int, 6> CELLE_ORDINE = {3, 28, 12, 10, 9, 12};

// A table line: a space, a bar, each text in its cell (padded on the right, or
// cut, to the cell's width) closed by a bar.
std::string riga_tabella(larghezze_celle larghezze, const std::vector<std::string>& testi);
// The text centred in `larghezza`, an odd spare space on the right; cut when longer.
std::string centrato(std::string_view testo, size_t larghezza);
// The text padded on the right to `larghezza`, or cut to it.
std::string a_sinistra(std::string_view testo, size_t larghezza);

// The timetable card.
namespace forma_scheda {
// The header block's fixed lines.
inline constexpr const char* BORDO = "  ___________________                                               ______________";
inline constexpr const char* CHIUSURA = "                                                                   |______________|";
inline constexpr const char* RIQUADRI_BORDO = "  ___________________                ___________________";
inline constexpr const char* RIQUADRI_TITOLI = " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ";
inline constexpr const char* RIQUADRI_FONDO = " |___________________|              |___________________|";
// The widths of the header's boxes: the train box, the middle field, the speed box.
inline constexpr size_t RIQUADRO_TRENO = 19, CAMPO_CENTRALE = 45, RIQUADRO_VELOCITA = 14;
// The lines of the header that change from card to card, each made from its texts.
std::string riga_scheda(std::string_view numero_scheda);  // "SCHEDA 1/2"
std::string riga_treno(std::string_view treno, std::string_view da, std::string_view velocita);
std::string riga_arrivo(std::string_view a, std::string_view massa_frenata);
// The classification is centred in its box, the locked mass's box is written as given.
std::string riga_massa(std::string_view classificazione, std::string_view massa_bloccata);
// The train box's text for a train number.
std::string riquadro_treno(std::string_view numero);
// The table head; its last line is also every table's bottom rule.
inline constexpr std::array<const char*, 4> TESTA = {
    "  ________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
    " | Lim.|Marc.|          |  Rs |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
};
inline constexpr const char* FONDO = TESTA.back();
inline constexpr const char* RIGA_VUOTA =
    " |     |     |          |     |                            |                |     |";
// What the blank template leaves for the writer's hand.
inline constexpr const char* DA_SCRIVERE = "xxx";
inline constexpr const char* TRENO_MODELLO = "   TRENO n.xxxxx";
inline constexpr const char* MASSA_MODELLO = "      xxxT";
}  // namespace forma_scheda

// The slowdown order form (Modulo M. 3).
namespace forma_ordine {
inline constexpr const char* TITOLO = "                               Modulo M. 3";
inline constexpr const char* SOTTOTITOLO = "                           ORDINE DI RALLENTAMENTO";
inline constexpr const char* RIGA_ALTA =
    " ________________________________________________________________________________";
inline constexpr const char* RIGA_TABELLA =
    "  _______________________________________________________________________________";
// "  Linea  " and the line's name; the order to the driver of a train.
std::string riga_linea(std::string_view linea);
std::string riga_ordine(std::string_view treno);
inline constexpr std::array<const char*, 4> TESTA = {
    " |   |                            |Inizio dopo |          |         |            |",
    " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
    " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
    " |___|____________________________|____________|__________|_________|____________|",
};
// The rule under the head closes the table too.
inline constexpr const char* FONDO = TESTA.back();
inline constexpr const char* RIGA_VUOTA =
    " |   |                            |            |          |         |            |";
// The form's widest line: its notes are wrapped to it.
inline constexpr size_t LARGHEZZA = 82;
// Rows of one table, filled or blank.
inline constexpr size_t RIGHE_TABELLA = 25;
inline constexpr const char* TITOLO_NOTE = "              Prescrizioni specifiche";
inline constexpr const char* NOTA_A = " A - Da rispettare con tutto il treno (per i treni viaggiatori)";
inline constexpr const char* NOTA_B = " B - Interessa anche ";  // "la stazione di X", "le stazioni di X e Y"
// The forms left to be filled in by hand, D before C; the misspelling is the
// printed form's own.
inline constexpr std::array<const char*, 3> NOTE_D_C = {
    " D - Rallentamneto N. ... e N. ...  sono contigui",
    " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
    "     i giorni esclusi i seguenti:.........",
};
// What stands in the prescription cell of a row with no note.
inline constexpr const char* NESSUNA_NOTA = "-----";
}  // namespace forma_ordine

// The notes sheet: no line longer than this.
inline constexpr size_t LARGHEZZA_NOTE = 78;
