#include "drawing/scene_build.h"

scene_source scene_source_of(const modello& m) {
    scene_source s;
    s.celle = &m.celle;
    s.voci = &m.voci;
    s.tracciato = &m.tracciato;
    return s;
}

scene build_scene(const scene_source&, const scene_options&) { return {}; }
