#include "running/train_model.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <utility>
#include <vector>

#include "platform/exit_status.h"
#include "running/figures.h"

namespace {

// The braking-distance relation of docs/train-model.md: s = 3.85 v² / (6.1 ψ (1 + λ/10) + i).
double braking_denominator(double braked_mass_percent, double brake_factor) {
    const double lambda = std::clamp(braked_mass_percent, BRAKED_MASS_LOWEST, BRAKED_MASS_HIGHEST);
    return 6.1 * brake_factor * (1 + lambda / 10);
}

// Each profile key and the value it sets.
const std::vector<std::pair<const char*, double train_model::*>>& profile_keys() {
    static const std::vector<std::pair<const char*, double train_model::*>> keys = {
        {"loco_mass_t", &train_model::loco_mass_t},
        {"loco_adhesive_mass_t", &train_model::loco_adhesive_mass_t},
        {"loco_length_m", &train_model::loco_length_m},
        {"starting_effort_kn", &train_model::starting_effort_kn},
        {"power_kw", &train_model::power_kw},
        {"top_speed_kmh", &train_model::top_speed_kmh},
        {"coach_mass_t", &train_model::coach_mass_t},
        {"coach_length_m", &train_model::coach_length_m},
        {"davis_a_n_per_t", &train_model::davis_a_n_per_t},
        {"davis_b_n_per_t_kmh", &train_model::davis_b_n_per_t_kmh},
        {"davis_c_loco_n_per_kmh2", &train_model::davis_c_loco_n_per_kmh2},
        {"davis_c_coach_n_per_kmh2", &train_model::davis_c_coach_n_per_kmh2},
        {"rotating_mass_factor", &train_model::rotating_mass_factor},
        {"service_deceleration_ms2", &train_model::service_deceleration_ms2},
        {"brake_factor", &train_model::brake_factor},
    };
    return keys;
}

}  // namespace

std::optional<double> braking_distance_m(double from_kmh, double to_kmh, double braked_mass_percent, double brake_factor,
                                         double gradient_permille) {
    const double d = braking_denominator(braked_mass_percent, brake_factor) + gradient_permille;
    if (d <= 0) return std::nullopt;
    return 3.85 * (from_kmh * from_kmh - to_kmh * to_kmh) / d;
}

double speed_stopping_within(double distance_m, double braked_mass_percent, double brake_factor) {
    return std::sqrt(distance_m * braking_denominator(braked_mass_percent, brake_factor) / 3.85);
}

train_in_use train_for(const modello& m, const train_model& profile) {
    train_in_use t;
    t.model = profile;
    const voce& train = m.voci[VOCE_TRENO_LINEA];
    t.coaches = std::max<int32_t>(0, profile.coaches.value_or(train.progressiva));
    t.braked_mass_percent = profile.braked_mass_percent.value_or(train.inizio_zona);
    t.mass_t = profile.loco_mass_t + t.coaches * profile.coach_mass_t;
    t.length_m = profile.loco_length_m + t.coaches * profile.coach_length_m;
    t.braking_cap_kmh = speed_stopping_within(LINE_BRAKING_DISTANCE_M, t.braked_mass_percent, profile.brake_factor);
    t.top_speed_kmh = std::min(profile.top_speed_kmh, t.braking_cap_kmh);
    return t;
}

result<train_model> read_train_profile(const std::string& json_text) {
    const nlohmann::json j = nlohmann::json::parse(json_text, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return failure{EXIT_USAGE, "a train profile is a JSON object"};
    train_model t;
    t.from_profile = true;
    for (const auto& item : j.items()) {
        const std::string& key = item.key();
        const nlohmann::json& value = item.value();
        if (key == "coaches" || key == "braked_mass_percent") {
            if (!value.is_number_integer() || value.get<int64_t>() < 0 || value.get<int64_t>() > 1000)
                return failure{EXIT_USAGE, "'" + key + "' takes a whole number from 0 to 1000"};
            (key == "coaches" ? t.coaches : t.braked_mass_percent) = value.get<int32_t>();
            continue;
        }
        const auto& keys = profile_keys();
        const auto it = std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return key == k.first; });
        if (it == keys.end()) {
            std::string known = "coaches, braked_mass_percent";
            for (const auto& k : keys) known += std::string(", ") + k.first;
            return failure{EXIT_USAGE, "'" + key + "' is not a value of the train model (" + known + ")"};
        }
        // Up to a million: far beyond any train, and the run's sums stay finite.
        if (!value.is_number() || !(value.get<double>() > 0) || !(value.get<double>() <= 1e6))
            return failure{EXIT_USAGE, "'" + key + "' takes a number above 0, up to 1,000,000"};
        t.*(it->second) = value.get<double>();
    }
    if (t.loco_adhesive_mass_t > t.loco_mass_t)
        return failure{EXIT_USAGE, "'loco_adhesive_mass_t' cannot exceed 'loco_mass_t'"};
    return t;
}

std::string train_words(const train_in_use& t) {
    const train_model& p = t.model;
    return std::string(p.from_profile ? "the profile's train" : "the default train") + " (" +
           decimal(p.loco_mass_t, 0) + " t locomotive of " + decimal(p.power_kw / 1000, 1) + " MW and " +
           std::to_string(t.coaches) + " coach" + (t.coaches == 1 ? "" : "es") + " of " + decimal(p.coach_mass_t, 0) +
           " t, braked mass " + decimal(t.braked_mass_percent, 0) + "%)";
}
