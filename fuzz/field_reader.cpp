// The field reader alone. The first byte picks the kinds of field read, two bits
// a field in turn; the rest is the text. Checks what every field read promises.
#include <cstring>

#include "model/run_time_failure.h"
#include "text_input/lettore_campi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t tipi = data[0];
    std::string_view testo(reinterpret_cast<const char*>(data + 1), size - 1);
    lettore_campi r(testo);
    int32_t linea = 1;
    // Every field read takes at least one byte, so the reader ends within as many reads.
    for (size_t n = 0; !r.fine(); ++n) {
        if (n > testo.size()) __builtin_trap();
        try {
            switch ((tipi >> (2 * (n % 4))) & 3) {
                case 0: {
                    std::string t = r.testo();
                    if (t.find_first_of("\r\n") != std::string::npos) __builtin_trap();
                    break;
                }
                case 1: r.long_field(); break;
                case 2: r.integer_field(); break;
                case 3: r.byte_field(); break;
            }
        } catch (const run_time_failure&) {
            return 0;
        }
        if (r.linea_campo() < linea) __builtin_trap();
        linea = r.linea_campo();
    }
    return 0;
}
