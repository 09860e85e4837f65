#pragma once
// What the fuzz targets share: a folder of their own for the files the readers
// take by path, the split of one input into parts, and the route length kept short.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "text_input/confronto.h"

namespace fuzz {

// Between the parts of one input: texts never hold it, and a seed stays readable.
constexpr std::string_view SEPARATORE = "#####";

constexpr std::string_view PREFISSO_CARTELLA = "scenario-fuzz-";

// Created once per process and reused: the files in it are rewritten at every run.
// libFuzzer ends its processes without running atexit handlers, so each one
// removes the folders of those that are gone instead.
inline const std::filesystem::path& cartella() {
    static const std::filesystem::path dir = [] {
        const std::filesystem::path tmp = std::filesystem::temp_directory_path();
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(tmp, ec)) {
            std::string nome = e.path().filename().string();
            if (!nome.starts_with(PREFISSO_CARTELLA)) continue;
            pid_t pid = static_cast<pid_t>(std::atoi(nome.c_str() + PREFISSO_CARTELLA.size()));
            if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH) std::filesystem::remove_all(e.path(), ec);
        }
        std::filesystem::path d = tmp / (std::string(PREFISSO_CARTELLA) + std::to_string(getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

inline std::filesystem::path scrivi(const std::string& nome, std::string_view byte) {
    std::filesystem::path p = cartella() / nome;
    std::ofstream(p, std::ios::binary | std::ios::trunc).write(byte.data(), static_cast<std::streamsize>(byte.size()));
    return p;
}

// The input after its first byte, cut at each separator into exactly n parts
// (missing ones empty, the last one keeping any further separator).
inline std::vector<std::string_view> parti(std::string_view byte, size_t n) {
    std::vector<std::string_view> out;
    while (out.size() + 1 < n) {
        size_t at = byte.find(SEPARATORE);
        if (at == std::string_view::npos) break;
        out.push_back(byte.substr(0, at));
        byte.remove_prefix(at + SEPARATORE.size());
    }
    out.push_back(byte);
    out.resize(n);
    return out;
}

constexpr int64_t LUNGHEZZA_MASSIMA_FUZZ = 50000;

// A route of up to a million metres sizes a grid and a geometry that make one run
// take a good part of a second; the field after a "percorso ... lunghezza" key
// (found as the reader cuts fields) is taken modulo 50,001 m when longer, so
// a run takes milliseconds, not most of a second. Anything else is left as it is.
inline std::string percorso_corto(std::string_view testo) {
    std::string out;
    size_t pos = 0;
    auto blank = [&](size_t i) { return i < testo.size() && (testo[i] == ' ' || testo[i] == '\t'); };
    auto line_end = [&](size_t i) { return i < testo.size() && (testo[i] == '\r' || testo[i] == '\n'); };
    auto separatore = [&] {
        if (pos < testo.size() && testo[pos] == ',') {
            ++pos;
        } else if (line_end(pos)) {
            if (testo[pos] == '\r' && pos + 1 < testo.size() && testo[pos + 1] == '\n') ++pos;
            ++pos;
        }
    };
    size_t copiato = 0;
    while (pos < testo.size()) {
        while (blank(pos)) ++pos;
        size_t inizio = pos;
        if (pos < testo.size() && testo[pos] == '"') {
            ++pos;
            while (pos < testo.size() && testo[pos] != '"' && !line_end(pos)) ++pos;
            if (pos < testo.size() && testo[pos] == '"') ++pos;
            while (blank(pos)) ++pos;
        } else {
            while (pos < testo.size() && testo[pos] != ',' && !line_end(pos)) ++pos;
        }
        std::string_view chiave = testo.substr(inizio, pos - inizio);
        separatore();
        if (!contains_ignore_case(chiave, "percorso") || !contains_ignore_case(chiave, "lunghezza")) continue;
        // The length: a number field, which ends at a blank too.
        while (blank(pos)) ++pos;
        size_t cifre = pos;
        if (cifre < testo.size() && testo[cifre] == '+') ++cifre;
        size_t fine = cifre;
        int64_t valore = 0;
        while (fine < testo.size() && testo[fine] >= '0' && testo[fine] <= '9') {
            valore = std::min<int64_t>(valore * 10 + (testo[fine] - '0'), int64_t{1} << 40);
            ++fine;
        }
        bool numero = fine > cifre && (fine == testo.size() || testo[fine] == ',' || line_end(fine) || blank(fine));
        if (numero && valore > LUNGHEZZA_MASSIMA_FUZZ) {
            out.append(testo.substr(copiato, cifre - copiato));
            out += std::to_string(valore % (LUNGHEZZA_MASSIMA_FUZZ + 1));
            copiato = fine;
        }
        pos = fine;
    }
    out.append(testo.substr(copiato));
    return out;
}

}  // namespace fuzz
