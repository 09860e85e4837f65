#include "content/scrivi_righe.h"

#include "platform/file_ops.h"

std::string testo_tabella(const tabella_righe& tabella) {
    std::string bytes;
    for (const std::string& riga : tabella) {
        if (riga == FINE_TABELLA) break;
        bytes += riga;
        bytes += "\r\n";
    }
    return bytes;
}

void scrivi_righe(const std::filesystem::path& path, const tabella_righe& tabella) {
    write_file(path, testo_tabella(tabella));
}
