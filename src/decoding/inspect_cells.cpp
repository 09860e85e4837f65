#include "model/cell_objects.h"
#include "decoding/inspect_views.h"

namespace {

using celle_t = std::vector<cella>;

bool has_object(const cella& c) {
    return c.tipo_oggetto != 0 || c.dato1 != 0 || c.dato2 != 0 || c.dato3 != 0 || c.dato4 != 0;
}

int16_t dato(const cella& c, int n) {
    const int16_t d[4] = {c.dato1, c.dato2, c.dato3, c.dato4};
    return d[n];
}

// The cells to list: the range asked for, or every cell with an object but the
// stamped cell 1 when it holds nothing else.
std::vector<size_t> cells_to_show(const celle_t& celle, const std::optional<index_range>& range) {
    std::vector<size_t> out;
    if (range) {
        for (int64_t k = range->from; k <= range->to && k < static_cast<int64_t>(celle.size()); ++k)
            out.push_back(static_cast<size_t>(k));
        return out;
    }
    for (size_t k = 0; k < celle.size(); ++k)
        if (has_object(celle[k]) && !(k == 1 && celle[k].tipo_oggetto == 0)) out.push_back(k);
    return out;
}

// A speed-indicator board packs a first-group and a second-group speed, both multiples of 5.
std::string board_speeds(int16_t packed) {
    if (packed < 0 || packed > 9999) return "";
    return std::to_string(packed / 100 * 5) + "/" + std::to_string(packed % 100 * 5) + " km/h";
}

struct run_value {
    std::string_view name;
    uint8_t cella::*field;
    int offset;  // value shown = stored * scale + offset
    int scale;
};
const run_value RUN_VALUES[] = {
    {"speed_limit_kmh", &cella::v_limite, 0, 5},
    {"gradient", &cella::pendenza, -100, 1},
    {"adhesion", &cella::aderenza, 0, 1},
    {"mountain_type", &cella::tipo_montagna, 0, 1},
};

struct run {
    size_t from, to;
    int stored;
};

std::vector<run> runs_of(const celle_t& celle, const run_value& v) {
    std::vector<run> out;
    for (size_t k = 0; k < celle.size(); ++k) {
        const int stored = celle[k].*(v.field);
        if (out.empty() || out.back().stored != stored) out.push_back({k, k, stored});
        else out.back().to = k;
    }
    return out;
}

std::string cell_text(const cella& c, size_t k) {
    const object_description d = describe_object(c.tipo_oggetto);
    std::string s = "cell " + std::to_string(k) + " at " + std::to_string(object_metres(c.tipo_oggetto, k)) +
                    " m: " + std::string(d.name);
    // Appended piecewise: g++ 12 at -O2 takes `" " + std::to_string(...)` for an overlapping copy (-Wrestrict).
    if (c.tipo_oggetto != 0 && d.name == "unknown object") s.append(" ").append(std::to_string(c.tipo_oggetto));
    std::string values;
    for (int n = 0; n < 4; ++n) {
        const int16_t v = dato(c, n);
        if (d.fields[n].empty() && v == 0) continue;
        values += values.empty() ? "" : ", ";
        values += (d.fields[n].empty() ? "dato" + std::to_string(n + 1) : std::string(d.fields[n])) + " " +
                  std::to_string(v);
        if (c.tipo_oggetto == OGGETTO_INDICATORE_V_MAX && n < 3 && !board_speeds(v).empty())
            values += " (" + board_speeds(v) + ")";
    }
    if (!values.empty()) s += " (" + values + ")";
    s += "; tempo_segnale " + std::to_string(c.tempo_segnale) + ", preavviso " + std::to_string(c.preavviso) +
         ", montagna " + std::to_string(c.tipo_montagna) + ", limit " + std::to_string(c.v_limite * 5) +
         " km/h, gradient " + std::to_string(c.pendenza - 100) + ", adhesion " + std::to_string(c.aderenza);
    return s;
}

}  // namespace

void print_cells(const celle_t& celle, const std::optional<index_range>& range, std::ostream& out) {
    out << "compiled train cell file, " << celle.size() << " cells (0 to " << celle.size() - 1 << ")\n";
    out << "stamps (cell 1): " << celle[1].dato1 << ", competition code " << celle[1].dato2 << "\n";
    const std::vector<size_t> shown = cells_to_show(celle, range);
    if (range) out << "cells " << range->from << " to " << range->to << ":\n";
    else out << "cells with an object: " << shown.size() << "\n";
    for (size_t k : shown) out << "  " << cell_text(celle[k], k) << "\n";
    if (range) return;
    for (const run_value& v : RUN_VALUES) {
        out << v.name << " by cells:";
        for (const run& r : runs_of(celle, v))
            out << " " << r.from << "-" << r.to << ":" << r.stored * v.scale + v.offset;
        out << "\n";
    }
}

nlohmann::json cells_json(const celle_t& celle, const std::optional<index_range>& range) {
    nlohmann::json j;
    j["cell_count"] = celle.size();
    j["stamps"] = {{"stamp", celle[1].dato1}, {"competition_code", celle[1].dato2}};
    j["cells"] = nlohmann::json::array();
    for (size_t k : cells_to_show(celle, range)) {
        const cella& c = celle[k];
        const object_description d = describe_object(c.tipo_oggetto);
        nlohmann::json fields = nlohmann::json::object();
        for (int n = 0; n < 4; ++n)
            if (!d.fields[n].empty()) fields[std::string(d.fields[n])] = dato(c, n);
        nlohmann::json cell = {{"index", k},
                               {"metres", object_metres(c.tipo_oggetto, static_cast<int64_t>(k))},
                               {"object", d.name},
                               {"fields", fields}};
        per_campo(c, [&cell](const char* name, const auto& field) { cell[name] = field; });
        j["cells"].push_back(cell);
    }
    if (!range) {
        j["runs"] = nlohmann::json::object();
        for (const run_value& v : RUN_VALUES) {
            nlohmann::json runs = nlohmann::json::array();
            for (const run& r : runs_of(celle, v))
                runs.push_back({{"from", r.from}, {"to", r.to}, {"value", r.stored * v.scale + v.offset}});
            j["runs"][std::string(v.name)] = runs;
        }
    }
    return j;
}
