#include "scene/orv_gizmo.h"

// A gizmo sets no flag of its own and keeps the node base's "node_%d" name.
OrvGizmo::OrvGizmo() {
    addKind(ORV_KIND_GIZMO);
}
