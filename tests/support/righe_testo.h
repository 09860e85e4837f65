#pragma once
// Reading back the text files the writers leave.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/modello.h"
#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"

// The lines of a written text file. Every line must end with CR LF; a missing
// final CR LF or a bare LF shows up as a line "<unterminated ...>".
inline std::vector<std::string> righe_testo(const std::string& bytes) {
    std::vector<std::string> righe;
    size_t from = 0;
    while (from < bytes.size()) {
        size_t crlf = bytes.find("\r\n", from);
        if (crlf == std::string::npos || bytes.find('\n', from) < crlf) {
            righe.push_back("<unterminated " + bytes.substr(from) + ">");
            break;
        }
        righe.push_back(bytes.substr(from, crlf - from));
        from = crlf + 2;
    }
    return righe;
}

// Runs a document writer for the carried route and train in a fresh directory;
// the lines of the one file it must leave there, named `nome`.
inline std::vector<std::string> righe_documento(void (*scrivi)(const std::filesystem::path&, const modello&),
                                                const std::string& nome) {
    modello m;
    m.nome_linea = "Lidonia_Sabrio";
    m.numero_treno = "914";
    temp_dir dir;
    scrivi(dir.path(), m);
    EXPECT_EQ(dir.names(), std::vector<std::string>{nome});
    return righe_testo(read_file(dir.path() / nome));
}
