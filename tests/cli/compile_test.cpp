// The compile command in-process: what the author is told when faults meet.
#include "cli/compile.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"

TEST(Compile, AGridFaultBeforeANumberedReportIsReportedWithItAndNothingIsWritten) {
    temp_dir in, out;
    write_file(in.path() / "Prova_linea.txt",
               "[generale]\r\nlunghezza percorso, 3000\r\nripetizione segnali 4 codici, 0, 0\r\n[indicazioni]\r\n[fine]\r\n");
    write_file(in.path() / "Prova_7-.txt",
               "[generale]\r\n"
               "numero vetture, 5\r\n"
               "[segnali]\r\n"
               "segnale, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0\r\n"       // cell 1: dato2 is taken (1251)
               "rallentamento, 3000, 60, 1000, 0, 0, 0\r\n"         // slow: a cut every eighth cell
               "segnale, 3350, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\r\n"    // cells 68 to 70 leave no room
               "segnale, 3400, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\r\n"    // for the cut at cell 69 (13)
               "segnale, 3450, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\r\n"
               "[fine]\r\n");
    compile_options o;
    o.route = in.path() / "Prova_linea.txt";
    o.train = in.path() / "Prova_7-.txt";
    o.output = out.path();
    o.json = true;
    std::ostringstream json, err;
    EXPECT_EQ(run_compile(o, json, err), 4);
    EXPECT_EQ(err.str(),
              "Prova_7-.txt:5: error 13: no free cell for a code cut along a slow restriction or before the signal "
              "after it (at 3450 m)\n"
              "Prova_7-.txt:7: note: the cell for the cut at 3450 m is taken by this line's object\n"
              " Errore n. 1251\n");
    const auto j = nlohmann::json::parse(json.str());
    EXPECT_EQ(j["codice_errore"], 13);
    EXPECT_EQ(j["metri_errore"], 3450);
    EXPECT_EQ(j["file"], "Prova_7-.txt");
    EXPECT_EQ(j["line"], 5);
    EXPECT_EQ(j["note"]["line"], 7);
    EXPECT_EQ(j["report"], "1251");
    EXPECT_EQ(j["written"], nlohmann::json::array());
    EXPECT_TRUE(out.names().empty());
}
