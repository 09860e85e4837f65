#include <cstdio>
#include <type_traits>

#include "decoding/inspect_views.h"
#include "model/orologio.h"
#include "model/testo_1252.h"

namespace {

using voci_t = std::array<voce, NUMERO_VOCI>;

bool is_empty(const voce& v) { return v == voce{}; }

// Stations fill records upward from 1, board texts downward from 80.
struct layout {
    int last_station = 0;  // stations are records 1 to last_station
    int last_board = 81;   // board texts are records 80 down to last_board
};

layout find_layout(const voci_t& voci) {
    layout l;
    while (l.last_station + 1 < VOCE_PRIMO_CARTELLO && !is_empty(voci[l.last_station + 1])) ++l.last_station;
    while (l.last_board - 1 > l.last_station && !is_empty(voci[l.last_board - 1])) --l.last_board;
    return l;
}

std::string role_of(int i, const layout& l) {
    if (i >= 1 && i <= l.last_station) return "station";
    if (i >= l.last_board && i <= VOCE_PRIMO_CARTELLO) return "indication board";
    if (i >= VOCE_PROGRESSIVA_TRE && i <= VOCE_PROGRESSIVA_UNO) return "kilometric reference";
    if (i == VOCE_TRENO_LINEA) return "train and route figures";
    if (i == VOCE_LINEA) return "route data";
    if (i == VOCE_TRENO) return "train data";
    return "unused";
}

std::string time_text(int32_t orario) { return orario == 0 ? "no time" : clock_text(orario); }

std::string km_text(int32_t metres) { return "km " + fixed_number(metres / 1000.0, 3); }

// The station line's fields 4 to 13, by their number in the line, and where they are stored.
struct station_field {
    int line_field;
    int16_t voce::*integer;
    uint8_t voce::*byte;
};
const station_field STATION_FIELDS[] = {
    {4, nullptr, &voce::opzione1},    {5, nullptr, &voce::opzione5},
    {6, nullptr, &voce::opzione4},    {7, &voce::parametro1, nullptr},
    {8, &voce::parametro2, nullptr},  {9, nullptr, &voce::opzione2},
    {10, &voce::parametro3, nullptr}, {11, &voce::parametro4, nullptr},
    {12, &voce::parametro5, nullptr}, {13, nullptr, &voce::opzione3},
};

int station_field_value(const voce& v, const station_field& f) {
    return f.integer ? v.*(f.integer) : v.*(f.byte);
}

nlohmann::json record_json(const voce& v) {
    nlohmann::json j = nlohmann::json::object();
    per_campo(v, [&j](const char* name, const auto& field) {
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>)
            j[name] = utf8_da_1252(field);
        else
            j[name] = field;
    });
    return j;
}

std::string clock_of(const voce& treno) {
    return clock_text(static_cast<int64_t>(treno.parametro3) * 3600 + treno.parametro4 * 60 + treno.parametro5);
}

}  // namespace

void print_scenario(const voci_t& voci, std::ostream& out) {
    const layout l = find_layout(voci);
    const voce& figures = voci[VOCE_TRENO_LINEA];
    const voce& linea = voci[VOCE_LINEA];
    const voce& treno = voci[VOCE_TRENO];
    out << "compiled train scenario file, 87 records\n";
    out << "route \"" << utf8_da_1252(linea.testo) << "\": length " << figures.fine_zona
        << " m; backgrounds uno " << linea.inizio_zona << ", due " << linea.progressiva << ", tre "
        << linea.fine_zona << "\n";
    out << "train \"" << utf8_da_1252(treno.testo) << "\": " << figures.progressiva << " coaches, braked mass "
        << figures.inizio_zona << " %, sand " << treno.parametro1 << ", clock " << clock_of(treno) << "\n";
    out << "signal repetition: " << treno.inizio_zona << " to " << treno.fine_zona << " m, " << treno.progressiva
        << " codes\n";
    out << "stamps (record 85): " << linea.parametro1 << ", competition code " << linea.orario << "\n";
    out << "kilometric references (records 81 to 83):\n";
    for (int i = VOCE_PROGRESSIVA_TRE; i <= VOCE_PROGRESSIVA_UNO; ++i) {
        const voce& r = voci[i];
        out << "  " << i << ": ";
        if (r.inizio_zona == 0 && r.fine_zona == 0 && r.progressiva == 0) out << "unused\n";
        else out << "from " << r.inizio_zona << " m, " << km_text(r.fine_zona) << ", flag " << r.progressiva << "\n";
    }
    out << "stations: " << l.last_station << "\n";
    for (int i = 1; i <= l.last_station; ++i) {
        const voce& s = voci[i];
        char head[120];
        std::snprintf(head, sizeof head, "  %2d  at %7d m  kind %3d  area %7d to %7d  %-8s  ", i, s.progressiva,
                      s.categoria, s.inizio_zona, s.fine_zona, time_text(s.orario).c_str());
        out << head << utf8_da_1252(s.testo) << "  [";
        for (const station_field& f : STATION_FIELDS)
            out << (f.line_field == 4 ? "" : ", ") << "f" << f.line_field << " " << station_field_value(s, f);
        out << "]\n";
    }
    out << "indication boards: " << VOCE_PRIMO_CARTELLO + 1 - l.last_board << "\n";
    for (int i = VOCE_PRIMO_CARTELLO; i >= l.last_board; --i)
        out << "  " << i << "  " << utf8_da_1252(voci[i].testo) << "\n";
    for (int i = 0; i < VOCE_PROGRESSIVA_TRE; ++i)
        if (role_of(i, l) == "unused" && !is_empty(voci[i]))
            out << "record " << i << " is outside the station and board runs but not empty: "
                << record_json(voci[i]).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

nlohmann::json scenario_json(const voci_t& voci) {
    const layout l = find_layout(voci);
    const voce& figures = voci[VOCE_TRENO_LINEA];
    const voce& linea = voci[VOCE_LINEA];
    const voce& treno = voci[VOCE_TRENO];
    nlohmann::json j;
    j["route"] = {{"id", utf8_da_1252(linea.testo)},
                  {"length", figures.fine_zona},
                  {"background_uno", linea.inizio_zona},
                  {"background_due", linea.progressiva},
                  {"background_tre", linea.fine_zona}};
    j["train"] = {{"number", utf8_da_1252(treno.testo)},
                  {"coaches", figures.progressiva},
                  {"braked_mass_percent", figures.inizio_zona},
                  {"sand", treno.parametro1},
                  {"clock", clock_of(treno)},
                  {"signal_repetition", {{"start", treno.inizio_zona}, {"end", treno.fine_zona}, {"codes", treno.progressiva}}}};
    j["stamps"] = {{"stamp", linea.parametro1}, {"competition_code", linea.orario}};
    j["kilometric_references"] = nlohmann::json::array();
    for (int i = VOCE_PROGRESSIVA_TRE; i <= VOCE_PROGRESSIVA_UNO; ++i)
        j["kilometric_references"].push_back({{"record", i},
                                              {"start", voci[i].inizio_zona},
                                              {"kilometric_value", voci[i].fine_zona},
                                              {"flag", voci[i].progressiva}});
    j["stations"] = nlohmann::json::array();
    for (int i = 1; i <= l.last_station; ++i) {
        const voce& s = voci[i];
        nlohmann::json fields;
        for (const station_field& f : STATION_FIELDS) fields[std::to_string(f.line_field)] = station_field_value(s, f);
        j["stations"].push_back({{"record", i},
                                 {"name", utf8_da_1252(s.testo)},
                                 {"position", s.progressiva},
                                 {"kind", s.categoria},
                                 {"area_start", s.inizio_zona},
                                 {"area_end", s.fine_zona},
                                 {"time", s.orario == 0 ? nlohmann::json(nullptr) : nlohmann::json(clock_text(s.orario))},
                                 {"line_fields", fields}});
    }
    j["indication_boards"] = nlohmann::json::array();
    for (int i = VOCE_PRIMO_CARTELLO; i >= l.last_board; --i)
        j["indication_boards"].push_back({{"record", i}, {"text", utf8_da_1252(voci[i].testo)}});
    j["records"] = nlohmann::json::array();
    for (int i = 0; i < NUMERO_VOCI; ++i) {
        nlohmann::json r = record_json(voci[i]);
        r["index"] = i;
        r["role"] = role_of(i, l);
        j["records"].push_back(r);
    }
    return j;
}
