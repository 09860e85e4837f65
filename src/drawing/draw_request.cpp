#include "drawing/draw_request.h"

#include <nlohmann/json.hpp>

#include "platform/exit_status.h"

// CBOR keeps each double's bits, which JSON's text would not for NaN or infinities.
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(scene_point, x, y)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(scene_element, kind, shape, panel, points, text, from_m, to_m, values, file, line)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(scene, route_id, train_number, length_m, sources, from_m, to_m, time_origin_s,
                                   page_note, has_plan, plan_note, plan_min_x, plan_max_x, plan_min_y, plan_max_y,
                                   elements)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(sheet_size, width, height)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(draw_request, format, size, pages)

std::string draw_request_bytes(const draw_request& r) {
    std::string bytes;
    nlohmann::json::to_cbor(nlohmann::json(r), bytes);
    return bytes;
}

result<draw_request> read_draw_request(std::string_view bytes) {
    try {
        return nlohmann::json::from_cbor(bytes).get<draw_request>();
    } catch (const nlohmann::json::exception& e) {
        return failure{EXIT_FAILURE_IO, std::string("not a drawing request: ") + e.what()};
    }
}
