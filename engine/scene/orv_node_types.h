/// @file
/// The node vocabulary: type strings, class codes and flag indices.
///
/// Shared by every node class and by the code that asks the node manager for
/// nodes: the type strings select a creator, the class codes are recorded for
/// kind tests, and the flag indices name the node flags.
#pragma once

/// @name Node type strings
/// Type strings, one per creator, passed to OrvSceneNodeMgr::createNode. The
/// text of each is also what the node class's getTypeName returns, so log
/// lines name a node by its type string.
///@{
inline constexpr char ORV_NODE_CAMERA[] = "ORV_NODE_CAMERA";          ///< OrvCameraCreator
inline constexpr char ORV_NODE_LIGHT[] = "ORV_NODE_LIGHT";            ///< OrvLightCreator
inline constexpr char ORV_NODE_MATERIAL[] = "ORV_NODE_MATERIAL";      ///< OrvMaterialCreator
inline constexpr char ORV_NODE_MESH[] = "ORV_NODE_MESH";              ///< OrvMeshCreator
inline constexpr char ORV_NODE_TRIANGLE[] = "ORV_NODE_TRIANGLE";      ///< OrvTriangleCreator
inline constexpr char ORV_NODE_GIZMO[] = "ORV_NODE_GIZMO";            ///< OrvGizmoCreator
inline constexpr char ORV_NODE_GPU_SHADER[] = "ORV_NODE_GPU_SHADER";  ///< OrvGpuShaderCreator
/// OrvTextureCreator; registered by the texture manager at its first use rather
/// than at start-up.
inline constexpr char ORV_NODE_TEXTURE[] = "ORV_NODE_TEXTURE";
///@}

/// Class codes: each constructor records its class's code, so a node's kinds
/// hold its whole chain of classes base first (OrvSceneNode::isKindOf), and
/// each concrete class's getTypeId returns its own code. Code 9 is not used.
enum OrvNodeKind {
    ORV_KIND_NODE = 1,          ///< OrvSceneNode, held by every node.
    ORV_KIND_SCENE_OBJECT = 2,  ///< OrvSceneObject, held by everything a scene can list.
    ORV_KIND_GIZMO = 3,         ///< OrvGizmo.
    ORV_KIND_CAMERA = 4,        ///< OrvCamera.
    ORV_KIND_MESH = 5,          ///< OrvMesh.
    ORV_KIND_LIGHT = 6,         ///< OrvLight.
    ORV_KIND_TRIANGLE = 7,      ///< OrvTriangle.
    ORV_KIND_MATERIAL = 8,      ///< OrvMaterial.
    ORV_KIND_GPU_SHADER = 10,   ///< OrvGpuShader.
    ORV_KIND_TEXTURE = 11,      ///< OrvTexture.
};

/// Flag indices (OrvSceneNode::setFlag). The node base gives flags no meaning;
/// the node classes use them as switches and as marks of what must be sent or
/// rebuilt lazily. Indices 6 and 7 are not used.
enum OrvNodeFlag {
    ORV_FLAG_INITIALISED = 0,          ///< Set at construction or reset; nothing tests it.
    ORV_FLAG_MOVED = 1,                ///< Position must be taken up in the next update.
    ORV_FLAG_POSITION_CHANGED = 2,     ///< Set by setPosition; nothing tests it.
    ORV_FLAG_PARAMS_CHANGED = 3,       ///< Apply sends the parameters again.
    ORV_FLAG_DRAW = 4,                 ///< Render draws the object only while set.
    ORV_FLAG_NORMALS_DIRTY = 5,        ///< Mesh normals are recomputed in the next update.
    ORV_FLAG_MATERIALS_DIRTY = 8,      ///< Mesh faces are re-sorted by material in the next update.
    ORV_FLAG_VIEWPORT_CHANGED = 9,     ///< Camera: apply sends the viewport again.
    ORV_FLAG_PROJECTION_CHANGED = 10,  ///< Camera: apply sends the projection again.
    ORV_FLAG_VIEW_CHANGED = 11,        ///< Camera eye, centre or up: apply sends the view again.
    ORV_FLAG_DRAW_AXES = 12,           ///< Scene object draws its local axes.
};
