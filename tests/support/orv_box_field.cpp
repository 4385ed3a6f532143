#include "orv_box_field.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "orv_test_images.h"
#include "orvane.h"

namespace {
constexpr float kLargestBox = 4.0f;
// A box takes this share of its lattice cell, so neighbours never touch.
constexpr float kBoxShare = 0.6f;
// A checker of cream and brick squares; small beside the texture, the boxes
// sample its smaller mipmap levels.
constexpr int kCheckerSide = 64;
constexpr int kCheckerCell = 8;
constexpr uint8_t kCream[4] = {240, 230, 200, 255};
constexpr uint8_t kBrick[4] = {170, 70, 40, 255};
}  // namespace

OrvBoxField::OrvBoxField(OrvScene* scene, int count, int materialCount) {
    makeMaterials(std::max(1, materialCount));
    const int perRow = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    for (int i = 0; i < count; ++i) {
        OrvMesh* box = makeBox(i, perRow);
        scene->addObject(box);
        m_boxes.push_back(box);
    }
}

void OrvBoxField::makeMaterials(int count) {
    OrvMaterialMgr* manager = OrvMaterialMgr::getInstance();
    for (int m = 0; m < count; ++m) {
        char name[32];
        std::snprintf(name, sizeof(name), "box_material_%d", m);
        OrvMaterial* material = manager->getMaterial(name);
        // Hues around the colour circle, so that neighbouring boxes differ.
        const float hue = 6.2831853f * static_cast<float>(m) / static_cast<float>(count);
        const float diffuse[4] = {0.5f + 0.5f * std::cos(hue), 0.5f + 0.5f * std::cos(hue + 2.1f),
                                  0.5f + 0.5f * std::cos(hue + 4.2f), 1.0f};
        material->setDiffuse(diffuse);
        m_materials.push_back(material);
    }
}

OrvMesh* OrvBoxField::makeBox(int index, int perRow) {
    OrvMesh* box =
        static_cast<OrvMesh*>(OrvSceneNodeMgr::getInstance()->createNode(ORV_NODE_MESH, nullptr));
    const float cell = kExtent / static_cast<float>(perRow);
    const float size = std::min(kLargestBox, kBoxShare * cell);
    box->createBox(size, size, size, 2, 2, 2);
    // Lit, the boxes show their materials, never their vertex colours.
    box->getMeshData()->setOption(OrvMeshData::colorArray, 0);
    OrvRenderState* state = box->getRenderState();
    state->clearMaterials();
    box->setMaterial(m_materials[index % m_materials.size()], 0, -1);
    state->setState(OrvRenderer::STATE_LIGHTING, 1);
    const OrvVector4 position{
        -0.5f * kExtent + cell * (0.5f + static_cast<float>(index % perRow)), 0.5f * size,
        -0.5f * kExtent + cell * (0.5f + static_cast<float>(index / perRow)), 1.0f};
    box->setPosition(&position);
    return box;
}

OrvTexture* OrvBoxField::addTexture() {
    const OrvBytes png = orvEncodePngRgba(
        kCheckerSide, kCheckerSide,
        orvCheckerPixels(kCheckerSide, kCheckerSide, kCheckerCell, kCream, kBrick));
    OrvTexture* texture = OrvTextureMgr::getInstance()->createTexture(kTextureName);
    if (texture == nullptr) {
        return nullptr;
    }
    if (texture->loadFromMemory(png.data(), png.size()) != 0) {
        OrvSceneNodeMgr::getInstance()->destroyNode(texture);
        return nullptr;
    }
    for (OrvMaterial* material : m_materials) {
        material->setTexture(0, texture);
    }
    return texture;
}

void OrvBoxField::removeTexture() {
    for (OrvMaterial* material : m_materials) {
        material->setTexture(0, static_cast<OrvTexture*>(nullptr));
    }
}
