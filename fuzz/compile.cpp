// The whole compile of a route text and a train text, writing nothing. The first
// byte's low bit turns the geometry on; the rest is ROUTE#####TRAIN.
#include "compile/memorizza_percorso.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> p = fuzz::parti(input.substr(1), 2);
    opzioni_compilazione o;
    o.ingressi = {fuzz::scrivi("Fuzz_linea.txt", fuzz::percorso_corto(p[0])), fuzz::scrivi("Fuzz_1-.txt", p[1]),
                  false};
    o.cartella = fuzz::cartella();
    o.scrittura = scrittura_compilati::mai;
    modello m;
    m.nome_linea = "Fuzz";
    m.numero_treno = "1";
    memorizza_percorso(m, input[0] & 1, o);
    return 0;
}
