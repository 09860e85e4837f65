#pragma once
// A small JSON reader for the test fixtures: objects, arrays, strings (with the
// common escapes), integers, booleans and null.
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

struct json {
    enum tipo { NUL, BOOL, NUMERO, TESTO, LISTA, OGGETTO } t = NUL;
    bool vero = false;
    int64_t numero = 0;
    std::string testo;
    std::vector<json> lista;
    std::map<std::string, json> oggetto;

    bool is_null() const { return t == NUL; }
    const json& operator[](const std::string& chiave) const {
        auto it = oggetto.find(chiave);
        if (it == oggetto.end()) throw std::runtime_error("json: no key " + chiave);
        return it->second;
    }

    static json parse(const std::string& s) {
        size_t i = 0;
        json j = valore(s, i);
        spazi(s, i);
        if (i != s.size()) throw std::runtime_error("json: trailing text");
        return j;
    }

private:
    static void spazi(const std::string& s, size_t& i) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\n' || s[i] == '\r' || s[i] == '\t')) ++i;
    }
    static void atteso(const std::string& s, size_t& i, char c) {
        spazi(s, i);
        if (i >= s.size() || s[i] != c) throw std::runtime_error(std::string("json: expected ") + c);
        ++i;
    }
    static std::string stringa(const std::string& s, size_t& i) {
        atteso(s, i, '"');
        std::string out;
        while (i < s.size() && s[i] != '"') {
            char c = s[i++];
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (i >= s.size()) break;
            char e = s[i++];
            switch (e) {
                case 'n': out.push_back('\n'); break;
                case 't': out.push_back('\t'); break;
                case 'r': out.push_back('\r'); break;
                case 'u': {
                    unsigned cp = static_cast<unsigned>(std::stoul(s.substr(i, 4), nullptr, 16));
                    i += 4;
                    if (cp > 0xFF) throw std::runtime_error("json: escape outside one byte");
                    out.push_back(static_cast<char>(cp));
                    break;
                }
                default: out.push_back(e);
            }
        }
        atteso(s, i, '"');
        return out;
    }
    static json valore(const std::string& s, size_t& i) {
        spazi(s, i);
        if (i >= s.size()) throw std::runtime_error("json: unexpected end");
        json j;
        char c = s[i];
        if (c == '{') {
            j.t = OGGETTO;
            ++i;
            spazi(s, i);
            if (s[i] == '}') return ++i, j;
            for (;;) {
                std::string k = stringa(s, i);
                atteso(s, i, ':');
                j.oggetto[k] = valore(s, i);
                spazi(s, i);
                if (s[i] == ',') { ++i; continue; }
                atteso(s, i, '}');
                return j;
            }
        }
        if (c == '[') {
            j.t = LISTA;
            ++i;
            spazi(s, i);
            if (s[i] == ']') return ++i, j;
            for (;;) {
                j.lista.push_back(valore(s, i));
                spazi(s, i);
                if (s[i] == ',') { ++i; continue; }
                atteso(s, i, ']');
                return j;
            }
        }
        if (c == '"') {
            j.t = TESTO;
            j.testo = stringa(s, i);
            return j;
        }
        if (s.compare(i, 4, "null") == 0) return i += 4, j;
        if (s.compare(i, 4, "true") == 0) {
            j.t = BOOL;
            j.vero = true;
            return i += 4, j;
        }
        if (s.compare(i, 5, "false") == 0) {
            j.t = BOOL;
            return i += 5, j;
        }
        size_t fine = i;
        if (s[fine] == '-') ++fine;
        while (fine < s.size() && s[fine] >= '0' && s[fine] <= '9') ++fine;
        if (fine == i) throw std::runtime_error("json: unexpected character");
        j.t = NUMERO;
        j.numero = std::stoll(s.substr(i, fine - i));
        i = fine;
        return j;
    }
};
