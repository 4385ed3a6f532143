// The vocabulary shared by every node class and by the code that asks the
// node manager for nodes: the type strings that select a creator, the class
// codes recorded for kind tests, and the indices of the node flags.
#pragma once

// Type strings, one per creator. The text of each is also what the node
// class's getTypeName returns, so log lines name a node by its type string.
inline constexpr char ORV_NODE_CAMERA[] = "ORV_NODE_CAMERA";          // orv_camera_creator
inline constexpr char ORV_NODE_LIGHT[] = "ORV_NODE_LIGHT";            // orv_light_creator
inline constexpr char ORV_NODE_MATERIAL[] = "ORV_NODE_MATERIAL";      // orv_material_creator
inline constexpr char ORV_NODE_MESH[] = "ORV_NODE_MESH";              // orv_mesh_creator
inline constexpr char ORV_NODE_TRIANGLE[] = "ORV_NODE_TRIANGLE";      // orv_triangle_creator
inline constexpr char ORV_NODE_GIZMO[] = "ORV_NODE_GIZMO";            // orv_gizmo_creator
inline constexpr char ORV_NODE_GPU_SHADER[] = "ORV_NODE_GPU_SHADER";  // orv_gpu_shader_creator
// Registered by the texture manager at its first use rather than at start-up.
inline constexpr char ORV_NODE_TEXTURE[] = "ORV_NODE_TEXTURE";  // orv_texture_creator

// Class codes: each constructor records its class's code, so a node's kinds
// hold its whole chain of classes base first, and each concrete class's
// getTypeId returns its own code. Code 9 is not used.
enum OrvNodeKind {
    ORV_KIND_NODE = 1,
    ORV_KIND_SCENE_OBJECT = 2,
    ORV_KIND_GIZMO = 3,
    ORV_KIND_CAMERA = 4,
    ORV_KIND_MESH = 5,
    ORV_KIND_LIGHT = 6,
    ORV_KIND_TRIANGLE = 7,
    ORV_KIND_MATERIAL = 8,
    ORV_KIND_GPU_SHADER = 10,
    ORV_KIND_TEXTURE = 11,
};

// Flag indices. The node base gives flags no meaning; the node classes use
// them as switches and as marks of what must be sent or rebuilt lazily.
// Indices 6 and 7 are not used.
enum OrvNodeFlag {
    ORV_FLAG_INITIALISED = 0,          // set at construction or reset; nothing tests it
    ORV_FLAG_MOVED = 1,                // position must be taken up in the next update
    ORV_FLAG_POSITION_CHANGED = 2,     // set by setPosition; nothing tests it
    ORV_FLAG_PARAMS_CHANGED = 3,       // apply sends the parameters again
    ORV_FLAG_DRAW = 4,                 // render draws the object only while set
    ORV_FLAG_NORMALS_DIRTY = 5,        // mesh normals are recomputed in the next update
    ORV_FLAG_MATERIALS_DIRTY = 8,      // mesh faces are re-sorted by material
    ORV_FLAG_VIEWPORT_CHANGED = 9,     // camera
    ORV_FLAG_PROJECTION_CHANGED = 10,  // camera
    ORV_FLAG_VIEW_CHANGED = 11,        // camera eye, centre or up
    ORV_FLAG_DRAW_AXES = 12,           // scene object draws its local axes
};
