// Materials and the material manager: defaults and setters as the renderer
// receives them, reset, the name kept in the record, the shader bracket, and
// the manager's lookups, creation by name and destruction.
#include <cstring>
#include <string>
#include <vector>

#include "scene/orv_gpu_shader.h"
#include "scene_graph_test_support.h"

namespace {

using MaterialTest = SceneGraphTest;

constexpr char kDefaultColors[] =
    "applyMaterial(0.6, 0.6, 0.6, 1, 0.9, 0.9, 0.9, 1, 0.1, 0.1, 0.1, 1, 0, 0, 0, 1, 16)";

OrvMaterialMgr* materials() {
    return OrvMaterialMgr::getInstance();
}

}  // namespace

TEST_F(MaterialTest, NewMaterialSendsTheDefaults) {
    OrvMaterial* material = createNode<OrvMaterial>(ORV_NODE_MATERIAL);
    ASSERT_NE(material, nullptr);
    const std::string name = "material_" + std::to_string(material->getId());
    EXPECT_EQ(material->getName(), name);
    EXPECT_EQ(material->getMaterialData()->name, name);
    EXPECT_EQ(material->isKindOf(ORV_KIND_NODE), 1);
    EXPECT_EQ(material->isKindOf(ORV_KIND_MATERIAL), 1);
    EXPECT_EQ(material->isKindOf(ORV_KIND_SCENE_OBJECT), 0);
    const int expectedFlags[][2] = {{0, 1}, {1, 1}, {3, 1}, {4, 0}};
    for (const auto& flag : expectedFlags) {
        EXPECT_EQ(material->getFlag(flag[0]), flag[1]) << flag[0];
    }
    EXPECT_EQ(material->getGpuShader(), nullptr);

    material->apply();
    EXPECT_EQ(calls(), std::vector<std::string>{kDefaultColors});
}

TEST_F(MaterialTest, SettersMarkChangesAndResetRestoresColoursOnly) {
    OrvMaterial* material = createNode<OrvMaterial>(ORV_NODE_MATERIAL, "mat_box");
    OrvGpuShader* shader = ORV_NEW OrvGpuShader();

    const float ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    const float white[4] = {1, 1, 1, 1};
    const float specular[4] = {0.6f, 0.6f, 0.6f, 1};
    using Setter = void (OrvMaterial::*)(const float*);
    const std::pair<Setter, const float*> setters[] = {{&OrvMaterial::setAmbient, ambient},
                                                       {&OrvMaterial::setDiffuse, white},
                                                       {&OrvMaterial::setSpecular, specular}};
    for (const auto& [setter, color] : setters) {
        material->setFlag(ORV_FLAG_PARAMS_CHANGED, 0);
        (material->*setter)(nullptr);
        EXPECT_EQ(material->getFlag(ORV_FLAG_PARAMS_CHANGED), 0);
        (material->*setter)(color);
        EXPECT_EQ(material->getFlag(ORV_FLAG_PARAMS_CHANGED), 1);
    }
    material->setFlag(ORV_FLAG_PARAMS_CHANGED, 0);
    material->setShininess(60.0f);
    EXPECT_EQ(material->getFlag(ORV_FLAG_PARAMS_CHANGED), 1);
    material->setGpuShader(shader);

    material->apply();
    material->setFlag(ORV_FLAG_PARAMS_CHANGED, 0);
    material->setFlag(ORV_FLAG_DRAW, 1);
    material->reset();
    material->apply();
    EXPECT_EQ(calls(), (std::vector<std::string>{
                           "applyMaterial(0.2, 0.2, 0.2, 1, 1, 1, 1, 1, 0.6, 0.6, 0.6, 1, 0, 0, "
                           "0, 1, 60)",
                           kDefaultColors}));
    EXPECT_EQ(material->getFlag(ORV_FLAG_PARAMS_CHANGED), 1);
    EXPECT_EQ(material->getFlag(ORV_FLAG_DRAW), 0);
    EXPECT_STREQ(material->getName(), "mat_box");
    EXPECT_STREQ(material->getMaterialData()->name, "mat_box");
    EXPECT_EQ(material->getGpuShader(), shader);
    ORV_DELETE(shader);
}

TEST_F(MaterialTest, LongNamesAreCutInNodeAndRecord) {
    const std::string longName(200, 'm');
    OrvMaterial* material = createNode<OrvMaterial>(ORV_NODE_MATERIAL, longName.c_str());
    EXPECT_EQ(material->getName(), longName.substr(0, 127));
    EXPECT_EQ(material->getMaterialData()->name, longName.substr(0, 127));
    material->setName(nullptr);
    EXPECT_EQ(material->getMaterialData()->name, longName.substr(0, 127));
}

TEST_F(MaterialTest, ShaderIsBoundAroundTheDrawOnlyWhenAttached) {
    OrvMaterial* material = createNode<OrvMaterial>(ORV_NODE_MATERIAL);
    material->bindShader();
    material->unbindShader();
    EXPECT_TRUE(calls().empty());

    OrvGpuShader* shader = ORV_NEW OrvGpuShader();
    shader->setName("twister");
    material->setGpuShader(shader);
    material->bindShader();
    material->unbindShader();
    EXPECT_EQ(calls(), (std::vector<std::string>{"activeGpuShader(twister)",
                                                 "updateGpuShaderUniforms(twister)",
                                                 "activeGpuShader(null)"}));
    material->setGpuShader(nullptr);
    ORV_DELETE(shader);
}

TEST_F(MaterialTest, GetMaterialFindsOrCreatesByName) {
    OrvMaterial* box = materials()->getMaterial("mat_box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(materials()->getMaterial("mat_box"), box);
    EXPECT_EQ(materials()->getCount(), 1);
    EXPECT_EQ(materials()->findById(box->getId()), box);
    EXPECT_EQ(materials()->findById(box->getId() + 1000), nullptr);

    // Without a name every call makes a new, default-named material.
    OrvMaterial* unnamed = materials()->getMaterial(nullptr);
    ASSERT_NE(unnamed, nullptr);
    EXPECT_NE(materials()->getMaterial(nullptr), unnamed);
    EXPECT_EQ(std::string(unnamed->getName()), "material_" + std::to_string(unnamed->getId()));
    EXPECT_EQ(materials()->getCount(), 3);
    EXPECT_EQ(materials()->findByName(nullptr), nullptr);
    EXPECT_EQ(materials()->findByName("plane_mat"), nullptr);

    // Names that agree in their first 127 characters are one material.
    std::string longName(127, 'a');
    OrvMaterial* longOne = materials()->getMaterial((longName + "first").c_str());
    EXPECT_EQ(materials()->getMaterial((longName + "second").c_str()), longOne);
    EXPECT_EQ(materials()->findByName(longName.c_str()), longOne);
}

TEST_F(MaterialTest, FindByIdFindsExactlyTheListedMaterialsAmongMany) {
    std::vector<OrvMaterial*> made;
    for (int i = 0; i < 40; ++i) {
        made.push_back(materials()->getMaterial(("many_" + std::to_string(i)).c_str()));
        ASSERT_NE(made.back(), nullptr);
    }
    std::vector<int> destroyedIds;
    for (size_t i = 0; i < made.size(); i += 3) {
        destroyedIds.push_back(made[i]->getId());
        OrvSceneNodeMgr::getInstance()->destroyNode(made[i]);
    }
    for (size_t i = 0; i < made.size(); ++i) {
        if (i % 3 == 0) {
            EXPECT_EQ(materials()->findById(destroyedIds[i / 3]), nullptr) << i;
        } else {
            EXPECT_EQ(materials()->findById(made[i]->getId()), made[i]) << i;
        }
    }
}

TEST_F(MaterialTest, DestroyedMaterialIsNeverFoundAgain) {
    OrvMaterial* red = materials()->getMaterial("red");
    OrvMaterial* blue = materials()->getMaterial("blue");
    const int redId = red->getId();

    OrvSceneNodeMgr::getInstance()->destroyNode(red);
    EXPECT_EQ(materials()->findByName("red"), nullptr);
    EXPECT_EQ(materials()->findById(redId), nullptr);
    EXPECT_EQ(materials()->getCount(), 1);
    EXPECT_EQ(materials()->findByName("blue"), blue);

    // Asking again makes a fresh material rather than handing back the old one.
    OrvMaterial* newRed = materials()->getMaterial("red");
    ASSERT_NE(newRed, nullptr);
    EXPECT_NE(newRed->getId(), redId);
}

TEST_F(MaterialTest, TerminateDestroysListedMaterialsOnly) {
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    OrvMaterial* listed = materials()->getMaterial("listed");
    materials()->getMaterial("also_listed");
    OrvMaterial* unlisted = createNode<OrvMaterial>(ORV_NODE_MATERIAL, "unlisted");
    EXPECT_EQ(materials()->findByName("unlisted"), nullptr);
    const int before = nodes->getNodeCount();

    materials()->terminate();
    EXPECT_EQ(materials()->getCount(), 0);
    EXPECT_EQ(nodes->getNodeCount(), before - 2);
    EXPECT_EQ(nodes->isNode(listed), 0);
    EXPECT_EQ(nodes->isNode(unlisted), 1);
    EXPECT_TRUE(log.contains("OrvMaterialMgr::terminate(): ok."));

    // The manager stays usable.
    EXPECT_NE(materials()->getMaterial("listed"), nullptr);
}

TEST_F(MaterialTest, NothingIsListedWhenNoMaterialCanBeMade) {
    OrvSceneNodeMgr::getInstance()->unregisterCreator(ORV_NODE_MATERIAL);
    EXPECT_EQ(materials()->getMaterial("mat_box"), nullptr);
    EXPECT_EQ(materials()->getCount(), 0);
    OrvGizmo* gizmo = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    ASSERT_NE(gizmo, nullptr);
    EXPECT_EQ(gizmo->getRenderState()->getMaterialCount(), 0);
}
