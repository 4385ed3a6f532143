// Textures on the recording renderer: the texture manager registers its
// creator only when first used, loads a file once for every material that
// names it and destroys the texture once the last material lets go; a
// textured material binds and unbinds around each range it draws, an
// untextured one makes no texture call at all; units beyond the renderer's
// are refused with a WARNING line.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_engine_test.h"
#include "orv_test_images.h"
#include "orvane.h"

namespace {

const uint8_t kWhite[4] = {255, 255, 255, 255};
const uint8_t kBlack[4] = {0, 0, 0, 255};

class TextureMgrTest : public OrvEngineTest {
  protected:
    void SetUp() override {
        OrvEngineTest::SetUp();
        baseline = OrvMemoryAllocator::trackedBlockCount();
        checkerPath = log.dir() + "/checker.png";
        ASSERT_TRUE(orvWriteFile(
            checkerPath, orvEncodePngRgba(8, 8, orvCheckerPixels(8, 8, 2, kWhite, kBlack))));
    }

    OrvMaterial* material(const char* name) {
        return OrvMaterialMgr::getInstance()->getMaterial(name);
    }

    OrvMesh* boxWith(OrvMaterial* m) {
        OrvMesh* box = static_cast<OrvMesh*>(nodes->createNode(ORV_NODE_MESH, "box"));
        box->createBox(10, 10, 10, 2, 2, 2);
        box->getRenderState()->clearMaterials();
        box->setMaterial(m, 0, -1);
        box->update(0.016f);
        return box;
    }

    int messages(const std::string& text) const {
        int count = 0;
        for (const std::string& m : log.messages()) {
            count += m == text ? 1 : 0;
        }
        return count;
    }

    OrvRecordingRenderer& renderer = recorder;
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    size_t baseline = 0;
    std::string checkerPath;
};

TEST_F(TextureMgrTest, CreatorIsRegisteredAtFirstUseAndUnregisteredAtTerminate) {
    EXPECT_EQ(nodes->createNode(ORV_NODE_TEXTURE, "early"), nullptr);
    EXPECT_EQ(messages("OrvSceneNodeMgr::registerCreator(): ORV_NODE_TEXTURE registered ok."), 0);
    OrvTexture* texture = OrvTextureMgr::getInstance()->getTexture(checkerPath.c_str());
    ASSERT_NE(texture, nullptr);
    EXPECT_STREQ(texture->getTypeName(), ORV_NODE_TEXTURE);
    EXPECT_EQ(texture->isKindOf(ORV_KIND_TEXTURE), 1);
    EXPECT_EQ(messages("OrvSceneNodeMgr::registerCreator(): ORV_NODE_TEXTURE registered ok."), 1);
    OrvTextureMgr::shutdown();
    EXPECT_EQ(nodes->isNode(texture), 0);
    EXPECT_EQ(messages("OrvSceneNodeMgr::unregisterCreator(): ORV_NODE_TEXTURE unregistered ok."),
              1);
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), baseline);
}

TEST_F(TextureMgrTest, SharedTextureIsLoadedOnceAndReleasedOnceWhenTheLastMaterialLetsGo) {
    OrvMaterial* first = material("first");
    OrvMaterial* second = material("second");
    ASSERT_EQ(first->setTexture(0, checkerPath.c_str()), 0);
    ASSERT_EQ(second->setTexture(1, checkerPath.c_str()), 0);
    OrvTexture* shared = first->getTexture(0);
    ASSERT_EQ(second->getTexture(1), shared);
    EXPECT_EQ(shared->getUserCount(), 2);
    EXPECT_EQ(OrvTextureMgr::getInstance()->getCount(), 1);

    first->bindTextures();
    second->bindTextures();
    EXPECT_EQ(renderer.count("createTexture"), 1);

    first->setTexture(0, static_cast<OrvTexture*>(nullptr));
    EXPECT_EQ(nodes->isNode(shared), 1);
    EXPECT_EQ(renderer.count("destroyTexture"), 0);
    nodes->destroyNode(second);
    EXPECT_EQ(nodes->isNode(shared), 0);
    EXPECT_EQ(renderer.count("destroyTexture"), 1);
    EXPECT_EQ(OrvTextureMgr::getInstance()->getCount(), 0);
}

TEST_F(TextureMgrTest, TexturedRangeBindsAndUnbindsAroundItsDraw) {
    OrvMaterial* textured = material("textured");
    ASSERT_EQ(textured->setTexture(0, checkerPath.c_str()), 0);
    OrvMesh* box = boxWith(textured);
    renderer.clear();
    box->render(0.016f);
    box->render(0.016f);
    std::vector<std::string> names = renderer.names();
    std::vector<std::string> textureCalls;
    for (const std::string& name : names) {
        if (name.find("exture") != std::string::npos || name == "drawElements") {
            textureCalls.push_back(name);
        }
    }
    EXPECT_EQ(textureCalls, (std::vector<std::string>{"createTexture", "bindTexture",
                                                      "drawElements", "bindTexture", "bindTexture",
                                                      "drawElements", "bindTexture"}));
    EXPECT_EQ(renderer.last("bindTexture")->text, "bindTexture(null, 0)");
}

TEST_F(TextureMgrTest, UntexturedMeshMakesNoTextureCall) {
    OrvMesh* box = boxWith(material("plain"));
    renderer.clear();
    box->render(0.016f);
    for (const OrvRecordedCall& call : renderer.calls) {
        EXPECT_EQ(call.name.find("exture"), std::string::npos) << call.text;
    }
}

TEST_F(TextureMgrTest, UnitsBeyondTheRenderersAreRefused) {
    renderer.textureUnits = 2;
    OrvMaterial* m = material("m");
    OrvTexture* texture = OrvTextureMgr::getInstance()->getTexture(checkerPath.c_str());
    EXPECT_EQ(m->setTexture(1, texture), 0);
    EXPECT_EQ(m->setTexture(2, texture), -1);
    EXPECT_EQ(m->setTexture(-1, checkerPath.c_str()), -1);
    renderer.textureUnits = 16;
    EXPECT_EQ(m->setTexture(8, texture), -1);
    EXPECT_EQ(m->getTexture(2), nullptr);
    EXPECT_EQ(texture->getUserCount(), 1);
    EXPECT_EQ(messages("OrvMaterial::setTexture(): material m: unit 2 is outside 0 to 1."), 1);
    EXPECT_EQ(messages("OrvMaterial::setTexture(): material m: unit -1 is outside 0 to 1."), 1);
    EXPECT_EQ(messages("OrvMaterial::setTexture(): material m: unit 8 is outside 0 to 7."), 1);
}

TEST_F(TextureMgrTest, FileThatCannotBeLoadedLeavesTheMaterialUntextured) {
    OrvMaterial* m = material("m");
    const int nodeCount = nodes->getNodeCount();
    const std::string missing = log.dir() + "/missing.png";
    EXPECT_EQ(m->setTexture(0, missing.c_str()), -1);
    EXPECT_EQ(m->getTexture(0), nullptr);
    EXPECT_EQ(nodes->getNodeCount(), nodeCount);
    EXPECT_EQ(messages("OrvImageLoader::load(): " + missing +
                       ": cannot open the file (No such file or directory)."),
              1);
    OrvMesh* box = boxWith(m);
    renderer.clear();
    box->render(0.016f);
    EXPECT_EQ(renderer.count("bindTexture"), 0);
    EXPECT_EQ(renderer.count("drawElements"), 1);
}

// A texture destroyed behind the manager's back is no longer listed, so the
// manager never hands out or destroys a deleted node.
TEST_F(TextureMgrTest, TextureDestroyedDirectlyLeavesTheManagersList) {
    OrvTexture* texture = OrvTextureMgr::getInstance()->getTexture(checkerPath.c_str());
    ASSERT_NE(texture, nullptr);
    nodes->destroyNode(texture);
    EXPECT_EQ(OrvTextureMgr::getInstance()->getCount(), 0);
    EXPECT_EQ(OrvTextureMgr::getInstance()->findByName(checkerPath.c_str()), nullptr);
}

// A texture destroyed while materials still hold it leaves their slots: they
// draw untextured, and neither drawing nor destroying them later touches the
// freed texture.
TEST_F(TextureMgrTest, TextureDestroyedUnderItsMaterialsLeavesTheirSlots) {
    struct Case {
        const char* label;
        void (*destroy)(OrvTexture*);
    };
    const Case cases[] = {
        {"by the node manager",
         [](OrvTexture* texture) { OrvSceneNodeMgr::getInstance()->destroyNode(texture); }},
        {"with all textures",
         [](OrvTexture*) { OrvTextureMgr::getInstance()->destroyAllTextures(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        OrvMaterial* first = material((std::string(c.label) + " first").c_str());
        OrvMaterial* second = material((std::string(c.label) + " second").c_str());
        ASSERT_EQ(first->setTexture(0, checkerPath.c_str()), 0);
        ASSERT_EQ(second->setTexture(1, checkerPath.c_str()), 0);
        c.destroy(first->getTexture(0));
        EXPECT_EQ(first->getTexture(0), nullptr);
        EXPECT_EQ(second->getTexture(1), nullptr);
        OrvMesh* box = boxWith(first);
        renderer.clear();
        box->render(0.016f);
        EXPECT_EQ(renderer.count("bindTexture"), 0);
        nodes->destroyNode(box);
        nodes->destroyNode(first);
        nodes->destroyNode(second);
    }
}

}  // namespace
