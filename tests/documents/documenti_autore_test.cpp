// The driver documents made for an author's scenario: the carried scenario's,
// against its train file and the printed order, and a hand-written one's.
#include "documents/documenti_autore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "documents/forme_documenti.h"
#include "platform/file_ops.h"
#include "session/compile_session.h"
#include "tests/support/carried_texts.h"
#include "tests/support/forme_carte.h"
#include "tests/support/righe.h"
#include "tests/support/scenario_treno.h"
#include "tests/support/temp_dir.h"

namespace {

// A short line with a restriction at its first station, one inside a station, one
// across two stations, a speed change at a station and more rows than a card page.
const std::string VALLE_LINEA =
    "[generale]\r\nlunghezza percorso, 60000\r\n"
    "progressiva chilometrica uno, 0, 80000, 0\r\nprogressiva chilometrica due, 0, 0, 0\r\n"
    "progressiva chilometrica tre, 0, 0, 0\r\nripetizione segnali 4 codici, 0, 58000\r\n"
    "[montagne]\r\nmontagna, 12000, 13000, 11\r\n[indicazioni]\r\n[fine]\r\n";

std::string valle_treno() {
    std::string t =
        "[generale]\r\nnumero vetture, 6\r\npercentuale massa frenata, 140\r\n"
        "[aderenze]\r\naderenza, 0, 100\r\naderenza, 30000, 70\r\naderenza, 32000, 100\r\n"
        "[vel_limite]\r\nvelocita, 0, 100\r\n";
    // Every 2 km the line speed changes, at five stations among them.
    for (int p = 2000; p <= 54000; p += 2000)
        t += "velocita, " + std::to_string(p) + ", " + (p / 2000 % 2 ? "120" : "140") + "\r\n";
    t += "[stazioni]\r\n"
         "stazione, 0, 8, 500, 0, 0, 0, 1,1,0, 4,1,1, 0, 8,0,0, VALLE CENTRALE\r\n"
         "stazione, 5000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 8,6,30, PIANO\r\n"
         "stazione, 10000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 0,0,0, CASTEL SAN PIETRO DI SOPRA\r\n"
         "stazione, 15000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 0,0,0, BORGO\r\n"
         "stazione, 20000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 0,0,0, SANTA MARIA\r\n"
         "stazione, 25000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 0,0,0, PONTE\r\n"
         "stazione, 30000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 0,0,0, ROCCA\r\n"
         "stazione, 35000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 8,31,0, SAN GIOVANNI IN PERSICETO\r\n"
         "stazione, 40000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 0,0,0, FORNACE\r\n"
         "stazione, 45000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 0,0,0, MOLINO\r\n"
         "stazione, 50000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 0,0,0, CASALE\r\n"
         "stazione, 55000, 2, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 8,50,0, MONTE\r\n"
         "[rallentamenti]\r\n"
         "rallentamento, 450, 60, 300, 1, 0, 0\r\n"      // at the first station, whole train
         "rallentamento, 19850, 30, 150, 0, 0, 0\r\n"    // inside SANTA MARIA
         "rallentamento, 24900, 80, 5500, 0, 0, 0\r\n"   // across PONTE and ROCCA
         "[codici]\r\nabbattimento, 40500, 180\r\n[fine]\r\n";
    return t;
}

// The hand-written scenario's files in `dir`.
carried_files write_valle(const std::filesystem::path& dir) {
    write_file(dir / "Valle_linea.txt", VALLE_LINEA);
    write_file(dir / "Valle_2101-.txt", valle_treno());
    return {dir / "Valle_linea.txt", dir / "Valle_2101-.txt"};
}

session_compile compiled(const carried_files& f) {
    session_inputs in;
    in.route = f.route, in.train = f.train;
    result<session_compile> c = compile_in_memory(in);
    EXPECT_TRUE(c) << (c ? "" : c.error().message);
    EXPECT_EQ(c->m.codice_errore, codice::nessuno);
    return std::move(*c);
}

const session_compile& carried() {
    static const session_compile c = [] {
        temp_dir dir;
        return compiled(write_carried_texts(dir.path()));
    }();
    return c;
}

const session_compile& valle() {
    static const session_compile c = [] {
        temp_dir dir;
        return compiled(write_valle(dir.path()));
    }();
    return c;
}

std::vector<std::string> lines_of(const tabella_righe& t) { return righe_scritte(t); }

// The filled rows of a document's tables.
std::vector<std::string> filled(const std::vector<std::string>& rows, const std::string& blank) {
    std::vector<std::string> out;
    for (const std::string& r : rows)
        if (r != blank) out.push_back(r);
    return out;
}

// Every cell filled with `c`: ' ' for the blank row, '_' for the rule.
std::string riga_piena(larghezze_celle larghezze, char c) {
    std::string out = " |";
    for (int w : larghezze) out += std::string(static_cast<size_t>(w), c) + "|";
    return out;
}

}  // namespace

TEST(DocumentiAutore, OneTableOfShapesHoldsForTheCarriedAndTheMadeDocuments) {
    EXPECT_EQ(forma_scheda::RIGA_VUOTA, riga_piena(CELLE_SCHEDA, ' '));
    EXPECT_EQ(forma_scheda::FONDO, riga_piena(CELLE_SCHEDA, '_'));
    EXPECT_EQ(forma_ordine::RIGA_VUOTA, riga_piena(CELLE_ORDINE, ' '));
    EXPECT_EQ(forma_ordine::FONDO, riga_piena(CELLE_ORDINE, '_'));
    std::vector<std::string> rows;
    for (const tabella_righe& card : {tabella_scheda(), scheda_autore(carried().m, {}), scheda_autore(valle().m, {})})
        verifica_scheda(lines_of(card), rows);
    for (const tabella_righe& order : {tabella_rallentamenti(), ordine_autore(carried().m), ordine_autore(valle().m)})
        verifica_ordine(lines_of(order), rows);
    for (const session_compile* c : {&carried(), &valle()})
        for (const std::string& l : lines_of(note_autore(c->m, "")))
            EXPECT_LE(l.size(), LARGHEZZA_NOTE) << l;
}

TEST(DocumentiAutore, TheCarriedOrderHasThePrintedFormsRows) {
    std::vector<std::string> rows;
    verifica_ordine(lines_of(ordine_autore(carried().m)), rows);
    const std::vector<std::string> expected = {
        " | 1 | PINETO - ROSETO            |    326     |    60    |   200   |     A      |",
        " | 2 | CUPRAMARITTIMA -           |    274     |    50    |  1800   |     B      |",
        " |   | PORTO S.GIORGIO            |            |          |         |            |",
        " | 3 | MARZOCCA - SENIGALLIA      |    182     |    40    |   200   |   -----    |",
        " | 4 | PESARO - CATTOLICA         |    136     |    80    |   800   |   -----    |",
    };
    EXPECT_EQ(filled(rows, forma_ordine::RIGA_VUOTA), expected);
    const std::vector<std::string> lines = lines_of(ordine_autore(carried().m));
    EXPECT_EQ(lines[4], "  Linea  LIDONIA CENTRALE - SABRIO");
    EXPECT_EQ(lines[6], "  Si ordina al macchinista del treno  914  di effettuare i seguenti rallentamenti");
    // The notes as the printed form has them.
    const std::vector<std::string> notes(lines.end() - 6, lines.end());
    const auto fixed = lines_of(tabella_rallentamenti());
    EXPECT_EQ(notes, std::vector<std::string>(fixed.end() - 6, fixed.end()));
}

TEST(DocumentiAutore, TheCarriedCardFollowsTheTrainFile) {
    std::vector<std::string> rows;
    verifica_scheda(lines_of(scheda_autore(carried().m, {})), rows);
    rows = filled(rows, forma_scheda::RIGA_VUOTA);
    ASSERT_EQ(rows.size(), 57u);  // 35 stations and 22 changes of speed between them
    const auto st = stazioni_treno();
    std::vector<int32_t> limits;
    size_t s = 0;
    for (const std::string& r : rows) {
        const auto c = celle_di(r, CELLE_SCHEDA);
        if (!senza_spazi(c[0]).empty()) limits.push_back(std::stoi(c[0]));
        // The line speed the train may run at: the same, without a profile.
        EXPECT_EQ(c[0], c[1]) << r;
        if (senza_spazi(c[4]).starts_with("Km ")) {
            EXPECT_EQ(senza_spazi(c[4]), "Km " + senza_spazi(c[2])) << r;
            continue;
        }
        ASSERT_LT(s, st.size()) << r;
        EXPECT_EQ(senza_spazi(c[4]), st[s].nome.substr(0, 27)) << r;
        char km[16];
        std::snprintf(km, sizeof km, "%.3f", (350100 - st[s].campi[1]) / 1000.0);
        EXPECT_EQ(senza_spazi(c[2]), km) << r;
        EXPECT_EQ(senza_spazi(c[5]), st[s].orario ? ore(st[s].orario) : "") << r;
        ++s;
    }
    EXPECT_EQ(s, st.size());
    std::vector<int32_t> train;
    for (const auto& [p, v] : limiti_treno()) train.push_back(v);
    EXPECT_EQ(limits, train);
    // The forms of the origin's, a station's and the destination's time.
    EXPECT_EQ(celle_di(rows.front(), CELLE_SCHEDA)[5], " 10.48          ");
    EXPECT_EQ(celle_di(rows[11], CELLE_SCHEDA)[5], "      11.15     ");
    EXPECT_EQ(celle_di(rows.back(), CELLE_SCHEDA)[5], "         13.40  ");
}

TEST(DocumentiAutore, AHandWrittenScenariosPapers) {
    std::vector<std::string> rows;
    verifica_ordine(lines_of(ordine_autore(valle().m)), rows);
    EXPECT_EQ(filled(rows, forma_ordine::RIGA_VUOTA),
              (std::vector<std::string>{
                  " | 1 | VALLE CENTRALE - PIANO     |     80     |    60    |   300   |    A B     |",
                  " | 2 | SANTA MARIA                |     61     |    30    |   150   |   -----    |",
                  " | 3 | SANTA MARIA -              |     56     |    80    |  5500   |     B      |",
                  " |   | SAN GIOVANNI IN PERSICETO  |            |          |         |            |",
              }));
    const std::vector<std::string> order = lines_of(ordine_autore(valle().m));
    EXPECT_NE(std::find(order.begin(), order.end(),
                        " B - Interessa anche le stazioni di VALLE CENTRALE, PONTE e ROCCA"),
              order.end());

    // The margins and the speeds the running times give, where they are given.
    dati_marcia marcia;
    marcia.recupero_s = {std::nullopt, 60.0, -30.0};
    marcia.velocita_massima = 130;
    const std::vector<std::string> card = lines_of(scheda_autore(valle().m, marcia));
    rows.clear();
    verifica_scheda(card, rows);
    EXPECT_EQ(filled(rows, forma_scheda::RIGA_VUOTA).size(), 12u + 22u);
    EXPECT_EQ(rows.size(), 2 * RIGHE_PAGINA_SCHEDA);
    EXPECT_EQ(card[3], " |                   |                    SCHEDA 1/2               |              |");
    EXPECT_EQ(card[4], " |   TRENO n. 2101   |                   da: VALLE CENTRALE        |   V130 xxx   |");
    EXPECT_EQ(card[5], " |___________________|                    a: MONTE                 |     140%     |");
    EXPECT_EQ(card[9], " |        xxx        |              |      xxxT         |");
    const std::vector<std::string> expected = {
        " | 100 | 100 |  80.000  |     | VALLE CENTRALE             |  8.00          |     |",
        " | 120 | 120 |  78.000  |     | Km 78.000                  |                |     |",
        " | 140 | 130 |  76.000  |     | Km 76.000                  |                |     |",
        " |     |     |  75.000  |     | PIANO                      |       8.06     | 1.0 |",
        " | 120 | 120 |  74.000  |     | Km 74.000                  |                |     |",
        " | 140 | 130 |  72.000  |     | Km 72.000                  |                |     |",
        " | 120 | 120 |  70.000  |     | CASTEL SAN PIETRO DI SOPRA |                |     |",
    };
    EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.begin() + 7), expected);

    const std::vector<std::string> notes = lines_of(note_autore(valle().m, "Una riga dell'autore\r\n" + std::string(100, 'x')));
    const std::vector<std::string> said = {
        "Simulazione del treno 2101 nel tratto da VALLE CENTRALE a MONTE.",
        "Il treno ha 6 vetture e una percentuale di massa frenata del 140%.",
        "La ripetizione dei segnali e' a 4 codici, dal km 80.000 al km 22.000.",
        "Lungo il percorso ci sono 3 rallentamenti; il N. 1 va rispettato con tutta la",
        "lunghezza del treno (6 vetture).",
        "L' aderenza e' piu' bassa del resto della linea dal km 50.000 al km 48.000.",
        "Un tratto di montagna va dal km 68.000 al km 67.000.",
        "C'e' un abbattimento di codice al km 39.500 (180).",
        "Una riga dell'autore",
        std::string(78, 'x'),
        std::string(22, 'x'),
        "                                        Il realizzatore dello scenario",
        "                                        linea Valle",
    };
    EXPECT_EQ(notes, said);
}
