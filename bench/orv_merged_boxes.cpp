#include "orv_merged_boxes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "orv_box_field.h"
#include "orvane.h"

namespace {

// The boxes drawn with material: the box field gives each box one material.
std::vector<OrvMesh*> boxesOf(const OrvBoxField& field, const OrvMaterial* material) {
    std::vector<OrvMesh*> boxes;
    for (OrvMesh* box : field.boxes()) {
        if (box->getMeshData()->materialRanges[0].materialId == material->getId()) {
            boxes.push_back(box);
        }
    }
    return boxes;
}

void setIndex(OrvMeshData* data, size_t at, uint32_t index) {
    if (data->has32BitIndices()) {
        data->indices32[at] = index;
    } else {
        data->indices16[at] = static_cast<uint16_t>(index);
    }
}

}  // namespace

OrvMergedBoxes::OrvMergedBoxes(OrvScene* source, const OrvBoxField& field)
    : m_scene(ORV_NEW OrvScene()) {
    const float* clear = source->getClearColor();
    m_scene->setClearColor(clear[0], clear[1], clear[2], clear[3]);
    OrvLinkedList* lights = source->getLights();
    for (OrvLinkedListNode* n = lights->first(0); n != nullptr; n = lights->next()) {
        m_scene->addObject(static_cast<OrvSceneNode*>(n->data));
    }
    const std::vector<OrvMesh*>& boxes = field.boxes();
    OrvLinkedList* meshes = source->getMeshes();
    for (OrvLinkedListNode* n = meshes->first(0); n != nullptr; n = meshes->next()) {
        OrvMesh* mesh = static_cast<OrvMesh*>(n->data);
        if (std::find(boxes.begin(), boxes.end(), mesh) == boxes.end()) {
            m_scene->addObject(mesh);
        }
    }
    for (OrvMaterial* material : field.materials()) {
        m_meshes.push_back(merge(field, material));
        m_scene->addObject(m_meshes.back());
    }
}

// The scene lists nodes it does not own: it is emptied before it goes, and
// only its root and the merged meshes are destroyed.
OrvMergedBoxes::~OrvMergedBoxes() {
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    OrvSceneNode* root = m_scene->getRoot();
    m_scene->clear();
    nodes->destroyNode(root);
    ORV_DELETE(m_scene);
    for (OrvMesh* mesh : m_meshes) {
        nodes->destroyNode(mesh);
    }
}

OrvMesh* OrvMergedBoxes::merge(const OrvBoxField& field, OrvMaterial* material) {
    const std::vector<OrvMesh*> boxes = boxesOf(field, material);
    char name[OrvSceneNode::kNameSize + 8];
    std::snprintf(name, sizeof(name), "merged_%s", material->getName());
    OrvMesh* merged =
        static_cast<OrvMesh*>(OrvSceneNodeMgr::getInstance()->createNode(ORV_NODE_MESH, name));
    OrvMeshData* data = merged->getMeshData();
    uint32_t vertices = 0;
    uint32_t faces = 0;
    for (OrvMesh* box : boxes) {
        vertices += box->getMeshData()->vertexCount;
        faces += box->getMeshData()->faceCount;
    }
    data->allocVertices(static_cast<int32_t>(vertices));
    data->allocFaces(static_cast<int32_t>(faces));
    uint32_t vertex = 0;
    size_t index = 0;
    for (OrvMesh* box : boxes) {
        const OrvMeshData* own = box->getMeshData();
        const float* move = box->getTransform()->matrix.m + 12;
        for (uint32_t v = 0; v < own->vertexCount; ++v) {
            for (int k = 0; k < 3; ++k) {
                data->attributes[OrvMeshData::POSITIONS][vertex + v][k] =
                    own->attributes[OrvMeshData::POSITIONS][v][k] + move[k];
            }
            std::memcpy(data->attributes[OrvMeshData::NORMALS][vertex + v],
                        own->attributes[OrvMeshData::NORMALS][v], sizeof(OrvFloat4));
        }
        for (size_t at = 0; at < 3 * static_cast<size_t>(own->faceCount); ++at) {
            setIndex(data, index++, vertex + own->indexAt(at));
        }
        vertex += own->vertexCount;
    }
    data->setOption(OrvMeshData::colorArray, 0);
    merged->getRenderState()->clearMaterials();
    merged->setMaterial(material, 0, -1);
    merged->getRenderState()->setState(OrvRenderer::STATE_LIGHTING, 1);
    // The normals are the boxes' own; the update only groups the triangles.
    merged->setFlag(ORV_FLAG_NORMALS_DIRTY, 0);
    merged->update(0.0f);
    return merged;
}
