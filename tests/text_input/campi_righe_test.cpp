// The table of line kinds against what the reader records and what the author's
// reference writes.
#include "text_input/campi_righe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "compile/memorizza_percorso.h"
#include "content/dati_linea.h"
#include "platform/file_ops.h"
#include "tests/support/test_paths.h"

namespace {

// The model read from a route file of a general section and a body and a train
// file of the lines given, compiled in memory with its geometry.
modello letto(const std::string& generale, const std::string& corpo, const std::string& treno) {
    const testi_lettore testi{"[generale]\r\n" + generale + "[curve]\r\n" + corpo + "[fine]\r\n",
                              "[generale]\r\n" + treno + "[fine]\r\n"};
    modello m;
    m.nome_linea = "R";
    m.numero_treno = "1";
    opzioni_compilazione opzioni;
    opzioni.ingressi = {"R_linea.txt", "R_1-.txt", false, &testi};
    opzioni.scrittura = scrittura_compilati::mai;
    memorizza_percorso(m, 1, opzioni);
    return m;
}

// One letter a width, for readable failures.
char sigla(larghezza_campo l) { return "LIBT"[static_cast<int>(l)]; }

std::string sigle(const genere_campi& g) {
    std::string out;
    for (const campo_riga& c : g.campi) out += sigla(c.larghezza);
    return out;
}

std::string senza_blank(std::string_view s) {
    const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string_view::npos ? std::string() : std::string(s.substr(a, b - a + 1));
}

std::vector<std::string> celle(std::string_view riga) {
    std::vector<std::string> out;
    for (size_t da = 1, a; (a = riga.find('|', da)) != std::string_view::npos; da = a + 1)
        out.push_back(senza_blank(riga.substr(da, a - da)));
    return out;
}

// The width a table cell or a sentence names; '?' for none.
char larghezza_scritta(std::string_view s) {
    for (auto [parola, l] : {std::pair{"32-bit", 'L'}, {"16-bit", 'I'}, {"8-bit", 'B'}, {"text", 'T'}})
        if (s.find(parola) != std::string_view::npos) return l;
    return '?';
}

// The widths of the fields in a heading's first table, one a field: a row that
// names several fields ("7, 8", "speeds a, b, c") stands for each. A table
// without a width column takes the width the prose before it names.
std::string campi_scritti(const std::string& blocco) {
    std::istringstream righe(blocco);
    std::string prosa, out;
    std::vector<std::string> intestazione;
    for (std::string riga; std::getline(righe, riga);) {
        if (riga.rfind('|', 0) != 0) {
            if (!intestazione.empty()) break;
            prosa += riga;
            continue;
        }
        const std::vector<std::string> c = celle(riga);
        if (intestazione.empty()) {
            intestazione = c;
            continue;
        }
        if (c.empty() || c[0].rfind("---", 0) == 0) continue;
        const auto colonna = std::find(intestazione.begin(), intestazione.end(), "width");
        const char l = colonna == intestazione.end()
                           ? larghezza_scritta(prosa)
                           : larghezza_scritta(c.at(colonna - intestazione.begin()));
        out.append(1 + std::count(c[0].begin(), c[0].end(), ','), l);
    }
    return out;
}

}  // namespace

// A scenario with each kind's example line once: the reader must take each line
// whole, recording as many numbers as the table has, and the text where it has one.
TEST(LineFields, TheReaderRecordsEachKindAsTheTableHasIt) {
    ASSERT_EQ(generi_campi().size(), static_cast<size_t>(genere_riga::stazione) + 1);
    std::string generale, corpo, treno;
    for (const genere_campi& g : generi_campi())
        (g.sezione == sezione_riga::generale ? generale
         : g.sezione == sezione_riga::corpo  ? corpo
                                             : treno) += std::string(g.esempio) + "\r\n";
    const modello m = letto(generale, corpo, treno);
    EXPECT_EQ(m.codice_errore, codice::nessuno);
    const registro_lettura& reg = m.registro;
    EXPECT_TRUE(reg.ignoti.empty());
    EXPECT_TRUE(reg.in_piu.empty());  // no field left over after a line's values

    std::set<genere_riga> letti;
    for (const riga_letta& r : reg.righe) {
        const genere_campi& g = campi_di(r.genere);
        SCOPED_TRACE(g.esempio);
        letti.insert(r.genere);
        EXPECT_EQ(g.genere, r.genere);
        EXPECT_EQ(g.file(), r.luogo.file);
        EXPECT_EQ(r.luogo.file == file_testo::linea && r.luogo.line < reg.fine_generale,
                  g.sezione == sezione_riga::generale);
        EXPECT_EQ(r.valori.size(), g.numero_valori());
        const bool con_testo = g.numero_valori() < g.campi.size();
        EXPECT_EQ(r.testo, con_testo ? std::string(g.esempio.substr(g.esempio.rfind(", ") + 2)) : "");
        std::set<std::string_view> brevi;
        for (const campo_riga& c : g.campi) {
            EXPECT_LE(c.breve.size(), 8u) << c.breve;
            EXPECT_TRUE(brevi.insert(c.breve).second) << c.breve;  // a hint tells its field apart
        }
        EXPECT_TRUE(std::is_partitioned(g.campi.begin(), g.campi.end(), [](const campo_riga& c) {
            return c.larghezza != larghezza_campo::testo;
        }));
    }
    EXPECT_EQ(letti.size(), generi_campi().size());
}

// Every keyword form offered to a keyword that matched none is one the reader
// takes, in its section, as its kind: each with its kind's example values.
TEST(LineFields, TheReaderTakesEveryKeywordFormAsItsKind) {
    std::string testi[3];
    std::vector<const forma_chiave*> forme;
    for (const sezione_riga s : {sezione_riga::generale, sezione_riga::corpo, sezione_riga::treno})
        for (const forma_chiave& f : chiavi_sezione(s)) {
            const std::string_view esempio = campi_di(f.genere).esempio;
            testi[static_cast<size_t>(s)] += f.forma + std::string(esempio.substr(esempio.find(','))) + "\r\n";
            forme.push_back(&f);
        }
    const modello m = letto(testi[0], testi[1], testi[2]);
    EXPECT_EQ(m.codice_errore, codice::nessuno);
    EXPECT_TRUE(m.registro.ignoti.empty());
    ASSERT_EQ(m.registro.righe.size(), forme.size());
    for (size_t i = 0; i < forme.size(); ++i) {
        EXPECT_EQ(m.registro.righe[i].chiave, forme[i]->forma);
        EXPECT_EQ(m.registro.righe[i].genere, forme[i]->genere) << forme[i]->forma;
    }
}

// Each kind's heading in the reference, under its file's part: its example line,
// and its field table's fields and widths.
TEST(LineFields, TheReferenceWritesEachKindAsTheTableHasIt) {
    const std::string doc = read_file(test_paths::format_reference);
    for (const genere_campi& g : generi_campi()) {
        SCOPED_TRACE(g.chiave);
        const size_t inizio = doc.find("\n### " + std::string(g.chiave) + "\n");
        ASSERT_NE(inizio, std::string::npos);
        const size_t parte = doc.rfind("\n## ", inizio);
        EXPECT_EQ(doc.substr(parte + 4, doc.find('\n', parte + 1) - parte - 4),
                  g.file() == file_testo::linea ? "Route file" : "Train file");
        const size_t fine = doc.find("\n#", inizio + 1);
        const std::string blocco = doc.substr(inizio, fine - inizio);
        EXPECT_NE(blocco.find("`" + std::string(g.esempio) + "`"), std::string::npos);
        EXPECT_EQ(campi_scritti(blocco), sigle(g));
    }
}

// Each body kind's example line before the line that ends the general section:
// the reader notes it as a body line there, not as an unknown line, and with
// every kind at once it notes the first of them and counts them all.
TEST(LineFields, TheReaderKnowsEachBodyKindInTheGeneralSection) {
    const auto leggi = [](const std::string& righe) {
        const testi_lettore testi{"[generale]\r\nlunghezza percorso, 3000\r\n" + righe + "[pendenze]\r\n[fine]\r\n",
                                  "[generale]\r\n[fine]\r\n"};
        modello m;
        opzioni_compilazione opzioni;
        opzioni.ingressi = {"R_linea.txt", "R_1-.txt", false, &testi};
        opzioni.scrittura = scrittura_compilati::mai;
        memorizza_percorso(m, 1, opzioni);
        EXPECT_TRUE(m.registro.ignoti.empty());
        return m.registro.corpo_nel_generale;
    };
    std::string tutte;
    int32_t quante = 0;
    for (const genere_campi& g : generi_campi()) {
        if (g.sezione != sezione_riga::corpo) continue;
        SCOPED_TRACE(g.esempio);
        const std::optional<corpo_in_generale> c = leggi(std::string(g.esempio) + "\r\n");
        ASSERT_TRUE(c);
        EXPECT_EQ(c->genere, g.genere);
        EXPECT_EQ(c->righe, 1);
        EXPECT_EQ(c->posto.line, 3);
        EXPECT_EQ(c->fine.line, 4);
        tutte += std::string(g.esempio) + "\r\n";
        ++quante;
    }
    const std::optional<corpo_in_generale> c = leggi(tutte);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->righe, quante);
    EXPECT_EQ(c->genere, genere_riga::pendenza);
    EXPECT_FALSE(leggi("sfondo uno, 1\r\n"));
}

// The section suggested for a body kind is the one the carried route file puts its lines under.
TEST(CampiRighe, TheUsualSectionIsTheCarriedRouteFiles) {
    std::string sezione;
    std::set<genere_riga> visti;
    for (const std::string& riga : tabella_linea()) {
        if (riga.rfind('[', 0) == 0) sezione = riga;
        for (const genere_campi& g : generi_campi()) {
            if (g.sezione == sezione_riga::corpo && riga.rfind(g.chiave, 0) == 0 && visti.insert(g.genere).second) {
                EXPECT_EQ(sezione_solita(g.genere), sezione) << g.chiave;
            }
        }
    }
    const auto corpo = [](const genere_campi& g) { return g.sezione == sezione_riga::corpo; };
    EXPECT_EQ(visti.size(), static_cast<size_t>(std::count_if(generi_campi().begin(), generi_campi().end(), corpo)));
    EXPECT_EQ(sezione_solita(genere_riga::stazione), "");
}
