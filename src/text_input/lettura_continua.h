#pragma once
// A reading of the two texts that leaves lines out and reads on from before the
// first line left out, from the state it had there, instead of from the start:
// finding every fault of a scenario reads it about once, however many faults it has.
//
// Each reading gives the model exactly what a fresh reading of the texts as they
// now stand gives (the geometry only measured), since the reader is a function of
// the bytes it has passed: what it had at a line start holds for any text that is
// the same up to there.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/modello.h"
#include "text_input/memorizza_dati.h"

struct contesto_lettura;

class lettura_continua {
public:
    // Reads into m, whose identifiers are set, the texts as the compile with
    // geometry flag j reads them; `ingressi` names the files.
    lettura_continua(modello& m, int32_t j, const ingressi_lettore& ingressi, testi_lettore testi);
    lettura_continua(const lettura_continua&) = delete;
    lettura_continua& operator=(const lettura_continua&) = delete;
    ~lettura_continua();

    // Given as the first compile's ripresa, it takes from that compile the model
    // and the reader as they stood at the train file's first body line, so that
    // a reading with train lines left out starts there.
    //
    // Reads to the reader's end: from the start (or the train file's body, as
    // above) the first time, then from the last line start it passed before
    // every line left out since.
    void leggi();
    modello& letto() { return m_; }
    // Leaves a line out of a file for the next reading; false when it holds nothing.
    bool ometti(file_testo file, int32_t riga);

    // The reader's own call, at the start of each body line.
    void inizio_riga(contesto_lettura& c);

private:
    struct punto;
    void prendi(const contesto_lettura& c);
    void riporta(const punto& p);

    modello& m_;
    int32_t j_;
    testi_lettore testi_;
    ingressi_lettore ingressi_;
    std::vector<std::unique_ptr<punto>> punti_;  // in reading order
    std::unique_ptr<punto> libero_;             // one let go, to be taken again
    std::vector<size_t> inizi_[2];              // where each line of each text begins
    uint64_t righe_ = 0;        // body lines started along the current reading
};
