#include "decoding/compiled_set.h"

#include <utility>

#include "decoding/compiled_files.h"
#include "model/modello.h"
#include "model/nomi_file.h"
#include "model/testo_1252.h"
#include "platform/exit_status.h"
#include "platform/file_ops.h"
#include "platform/input_files.h"
#include "platform/path_text.h"

namespace {

template <class T>
maybe_failure read_into(const std::filesystem::path& file, compiled_kind kind, result<T> (*decode)(std::string_view),
                        T& target, compiled_scenario& c) {
    const result<std::string> bytes = read_input_file(file);
    if (!bytes) return bytes.error();
    result<T> value = decode(*bytes);
    if (!value) return invalid_file(file, kind, value.error());
    target = std::move(*value);
    c.sources.push_back(utf8_path(file));
    return std::nullopt;
}

}  // namespace

result<compiled_scenario> read_compiled_scenario(const std::filesystem::path& folder, const std::string& route_id,
                                                 const std::string& train_number) {
    modello names;
    for (auto [utf8, target] : {std::pair{&route_id, &names.nome_linea}, std::pair{&train_number, &names.numero_treno}}) {
        const result<std::string> cp1252 = cp1252_da_utf8(*utf8);
        if (!cp1252) return failure{EXIT_USAGE, "'" + *utf8 + "' cannot name a file: " + cp1252.error().message};
        *target = *cp1252;
    }
    const auto path = [&](const std::string& name) { return percorso_file(folder, name); };
    const std::filesystem::path route = path(nome_file_linea(names)), records = path(nome_file_voci(names)),
                                cells = path(nome_file_celle(names));
    compiled_scenario c;
    if (auto f = read_into(records, compiled_kind::scenario, decode_scenario_file, c.voci, c)) return *f;
    if (auto f = read_into(cells, compiled_kind::cells, decode_cell_file, c.celle, c)) return *f;
    if (!file_exists(route))
        c.no_plan_note = "no geometry: the route file " + utf8_path(route.filename()) + " is not in " + utf8_path(folder);
    else if (auto f = read_into(route, compiled_kind::route, decode_route_file, c.tracciato, c))
        return *f;
    return c;
}
