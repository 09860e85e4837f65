#include "text_input/virgola_mancante.h"

#include <vector>

#include "text_input/confronto.h"

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

// ASCII letters and the Windows-1252 accented ones.
bool lettera(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7); }

bool numero(std::string_view t) {
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) t.remove_prefix(1);
    if (t.empty()) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

struct parola {
    size_t inizio, fine;
};

}  // namespace

std::optional<virgola_mancante> cerca_virgola_mancante(std::string_view chiave) {
    std::vector<parola> parole;
    for (size_t i = 0; i < chiave.size();) {
        if (blank(chiave[i])) {
            ++i;
            continue;
        }
        const size_t inizio = i;
        while (i < chiave.size() && !blank(chiave[i])) ++i;
        parole.push_back({inizio, i});
    }
    const auto testo = [&](const parola& p) { return chiave.substr(p.inizio, p.fine - p.inizio); };
    // The keyword's words end with the last word that holds a letter.
    size_t ultima = parole.size();
    for (size_t i = 0; i < parole.size(); ++i)
        for (char c : testo(parole[i]))
            if (lettera(static_cast<unsigned char>(c))) ultima = i;
    if (ultima == parole.size()) return std::nullopt;
    // A lone digit after them may still be the keyword's own number, where its
    // words hold none: a curve's class, the repetition's code count.
    const std::string_view parole_chiave = chiave.substr(0, parole[ultima].fine);
    const auto senza = [&](std::string_view cifre) { return parole_chiave.find_first_of(cifre) == std::string_view::npos; };
    const char* proprie = contains_ignore_case(chiave, "curva") && senza("123456") ? "123456"
                          : contains(chiave, "segnali") && contains(chiave, "ripetizione") && senza("49") ? "49"
                                                                                                             : "";
    size_t i = ultima + 1;
    if (i < parole.size() && testo(parole[i]).size() == 1 && contains(proprie, testo(parole[i]))) ++i;
    if (i >= parole.size() || !numero(testo(parole[i]))) return std::nullopt;
    return virgola_mancante{parole[i - 1].fine, parole[i].inizio, parole[i].fine - parole[i].inizio};
}
