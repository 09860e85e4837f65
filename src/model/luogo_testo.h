#pragma once
// A place in one of the scenario's two text files: where the reader found a
// field, and where every fault and warning an author is shown points.
#include <cstdint>

// Which of the two text files; nessuno for a place in neither (no place at all).
enum class file_testo : uint8_t { linea, treno, nessuno };

// The file, a 1-based line (0 when unknown), the 1-based byte column of the field
// concerned (0 when unknown) and the field's length in bytes. The files' paths
// are the reader's record's (registro_lettura::percorso).
struct luogo_testo {
    file_testo file = file_testo::nessuno;
    int32_t line = 0;
    int32_t column = 0;
    int32_t length = 0;

    bool operator==(const luogo_testo&) const = default;
};
