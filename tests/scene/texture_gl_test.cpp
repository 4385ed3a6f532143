// Textured meshes drawn by the real renderer: the same textured picture on
// all four drawing paths, two units modulating each other, mipmaps at a
// distance, GL names freed once, bad files drawing untextured, and the back
// buffer written as PNG.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_mesh_picture_gl_test.h"
#include "orv_test_images.h"
#include "orvane.h"

namespace {

const uint8_t kWhite[4] = {255, 255, 255, 255};
const uint8_t kBlack[4] = {0, 0, 0, 255};
const uint8_t kRed[4] = {255, 0, 0, 255};
const uint8_t kGreen[4] = {0, 255, 0, 255};

class TextureGlTest : public OrvMeshPictureGlTest {
  protected:
    TextureGlTest() : OrvMeshPictureGlTest(5000.0f) {}

    // A texture made in memory from RGBA pixels, listed by the manager.
    OrvTexture* texture(const char* name, int width, int height, const OrvBytes& pixels) {
        const OrvBytes png = orvEncodePngRgba(width, height, pixels);
        OrvTexture* made = OrvTextureMgr::getInstance()->createTexture(name);
        EXPECT_EQ(made->loadFromMemory(png.data(), png.size()), 0);
        return made;
    }

    OrvTexture* checker(const char* name, const uint8_t first[4], const uint8_t second[4]) {
        return texture(name, 64, 64, orvCheckerPixels(64, 64, 8, first, second));
    }

    OrvMaterial* material(const char* name) {
        return OrvMaterialMgr::getInstance()->getMaterial(name);
    }

    OrvMesh* mesh(const char* name) {
        OrvMesh* made = static_cast<OrvMesh*>(nodes->createNode(ORV_NODE_MESH, name));
        made->getRenderState()->setState(OrvRenderer::STATE_LIGHTING, 1);
        made->getRenderState()->clearMaterials();
        return made;
    }

    OrvMesh* box(OrvMaterial* m) {
        OrvMesh* made = mesh("box");
        made->createBox(50, 50, 50, 4, 4, 4);
        made->setMaterial(m, 0, -1);
        return made;
    }

    OrvMesh* torus(OrvMaterial* m) {
        OrvMesh* made = mesh("torus");
        made->createTorus(45, 12, 24);
        const OrvVector4 aside = {-40, 0, -40, 1};
        made->setPosition(&aside);
        made->setMaterial(m, 0, -1);
        return made;
    }

    // Pixels whose channels are all within tolerance of the colour's.
    static int countNear(const OrvPicture& picture, int r, int g, int b, int tolerance) {
        return picture.width * picture.height - picture.countNot(r, g, b, tolerance);
    }
};

TEST_F(TextureGlTest, SameTexturedPictureOnAllFourPaths) {
    OrvMaterial* m = material("checker");
    ASSERT_EQ(m->setTexture(0, checker("red_white", kRed, kWhite)), 0);
    const std::vector<OrvMesh*> meshes = {box(m), torus(m)};
    const OrvPicture client = expectSamePictureOnEveryPath(meshes, "textured");
    // The checker shows: strongly red texels and pale ones, both lit.
    int red = 0;
    int pale = 0;
    for (size_t i = 0; i < client.rgba.size(); i += 4) {
        const uint8_t* p = &client.rgba[i];
        red += p[0] > 80 && p[1] < p[0] / 4 && p[2] < p[0] / 4 ? 1 : 0;
        pale += p[0] > 80 && p[1] > p[0] * 3 / 4 && p[2] > p[0] * 3 / 4 ? 1 : 0;
    }
    EXPECT_GT(red, 3000);
    EXPECT_GT(pale, 3000);
}

// An index buffer that cannot be made (here a usage code GL has no hint for)
// leaves only the indices in client memory: the coordinates still come from
// their buffer, at offset 0, so the box looks as it does with an index buffer.
TEST_F(TextureGlTest, ATexturedMeshWithoutAnIndexBufferDrawsAsWithOne) {
    OrvMaterial* m = material("checker");
    ASSERT_EQ(m->setTexture(0, checker("red_white", kRed, kWhite)), 0);
    OrvMesh* indexed = box(m);
    const OrvPicture withBuffer = frame({indexed}, DrawPath::BUFFER_OBJECTS);
    ASSERT_NE(indexed->getMeshData()->indexBufferId, 0u);
    nodes->destroyNode(indexed);
    OrvMesh* unindexed = box(m);
    OrvMeshData* data = unindexed->getMeshData();
    data->indexBufferUsage = 7;
    for (int round = 0; round < 2; ++round) {
        const OrvPicture picture = frame({unindexed}, DrawPath::BUFFER_OBJECTS);
        picture.keep("textured_without_index_buffer");
        EXPECT_EQ(differingPixels(picture, withBuffer), 0) << "frame " << round;
    }
    EXPECT_EQ(data->indexBufferId, 0u);
    GLint coordBuffer = 0;
    glGetIntegerv(GL_TEXTURE_COORD_ARRAY_BUFFER_BINDING, &coordBuffer);
    EXPECT_EQ(static_cast<GLuint>(coordBuffer), data->vertexBufferIds[OrvMeshData::TEXCOORDS0]);
    void* coordPointer = &coordBuffer;
    glGetPointerv(GL_TEXTURE_COORD_ARRAY_POINTER, &coordPointer);
    EXPECT_EQ(coordPointer, nullptr);
}

// A display list holds the coordinate sets of the units textured when it was
// recorded. A material whose textures change after the box's list was made
// (a picture loaded later) must still draw as the client arrays draw it now:
// without the coordinates of a new unit its texture is sampled at one point.
TEST_F(TextureGlTest, DisplayListFollowsTexturesChangedAfterItWasCompiled) {
    ASSERT_GE(renderer->getTextureUnitCount(), 2);
    OrvTexture* textures[2] = {checker("red_white", kRed, kWhite),
                               checker("green_white", kGreen, kWhite)};
    // Holds both textures so that emptying a slot below does not destroy them.
    OrvMaterial* keeper = material("keeper");
    keeper->setTexture(0, textures[0]);
    keeper->setTexture(1, textures[1]);
    struct Change {
        const char* name;
        int unitsBefore;  // bit n: unit n has its texture
        int unitsAfter;
    };
    const Change changes[] = {{"texture_gained", 0, 1},
                              {"second_unit_gained", 1, 3},
                              {"texture_lost", 1, 0},
                              {"first_unit_lost", 3, 2}};
    OrvMaterial* m = material("changing");
    auto setUnits = [&](int units) {
        for (int unit = 0; unit < 2; ++unit) {
            m->setTexture(unit, (units >> unit & 1) != 0 ? textures[unit] : nullptr);
        }
    };
    for (const Change& change : changes) {
        setUnits(change.unitsBefore);
        OrvMesh* b = box(m);
        frame({b}, DrawPath::DISPLAY_LISTS);
        setUnits(change.unitsAfter);
        const OrvPicture listed = frame({b}, DrawPath::DISPLAY_LISTS);
        listed.keep(std::string("list_") + change.name);
        const OrvPicture client = frame({b}, DrawPath::CLIENT_ARRAYS);
        EXPECT_EQ(differingPixels(listed, client), 0) << change.name;
        nodes->destroyNode(b);
    }
}

// The second unit multiplies in: green on top of a white and black checker
// leaves green and black, and nothing red or blue.
TEST_F(TextureGlTest, TwoUnitsOnOneMaterialModulateEachOther) {
    OrvMaterial* m = material("two_units");
    ASSERT_GE(renderer->getTextureUnitCount(), 2);
    ASSERT_EQ(m->setTexture(0, checker("white_black", kWhite, kBlack)), 0);
    ASSERT_EQ(m->setTexture(1, checker("green", kGreen, kGreen)), 0);
    const OrvPicture picture = frame({box(m)});
    picture.keep("two_units");
    int green = 0;
    int other = 0;
    for (size_t i = 0; i < picture.rgba.size(); i += 4) {
        const uint8_t* p = &picture.rgba[i];
        const bool background = p[0] < 30 && p[1] < 30 && p[2] == 51;
        green += p[1] > 60 && p[0] < 10 && p[2] < 10 ? 1 : 0;
        other += !background && (p[0] > 10 || p[2] > 10) ? 1 : 0;
    }
    EXPECT_GT(green, 3000);
    EXPECT_EQ(other, 0);
}

// A checker of single texels seen far away: with mipmaps the far rows
// average to grey, without them they alias to black and white.
TEST_F(TextureGlTest, MipmapsAverageTheMinifiedChecker) {
    const OrvBytes fine = orvCheckerPixels(256, 256, 1, kWhite, kBlack);
    auto farRowsExtremes = [&](int mipmaps) {
        OrvMaterial* m = material(mipmaps ? "mipmapped" : "single_level");
        OrvTexture* t = texture(mipmaps ? "fine_mip" : "fine_one", 256, 256, fine);
        t->setMipmaps(mipmaps);
        if (mipmaps == 0) {
            t->setFilters(OrvTextureData::FILTER_NEAREST, OrvTextureData::FILTER_NEAREST);
        }
        m->setTexture(0, t);
        OrvMesh* plane = mesh("plane");
        plane->createPlane(400, 4000, 4, 40);
        plane->getRenderState()->setState(OrvRenderer::STATE_LIGHTING, 0);
        plane->getRenderState()->setState(OrvRenderer::STATE_FACE_CULLING, 0);
        const OrvVector4 away = {0, 0, -1800, 1};
        plane->setPosition(&away);
        plane->setMaterial(m, 0, -1);
        lookFrom(0, 20, 300);
        const OrvPicture picture = frame({plane});
        picture.keep(mipmaps ? "minified_mipmapped" : "minified_single_level");
        nodes->destroyNode(plane);
        // The plane's 20 highest rows are its farthest.
        int top = 0;
        for (int y = 0; y < picture.height; ++y) {
            top = picture.at(picture.width / 2, y)[2] != 51 ? y : top;
        }
        int extremes = 0;
        int pixels = 0;
        for (int y = top - 20; y <= top; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const uint8_t* p = picture.at(x, y);
                if (p[0] == p[1] && p[1] == p[2]) {
                    extremes += p[1] < 40 || p[1] > 215 ? 1 : 0;
                    ++pixels;
                }
            }
        }
        return static_cast<double>(extremes) / pixels;
    };
    const double mipmapped = farRowsExtremes(1);
    const double singleLevel = farRowsExtremes(0);
    EXPECT_LT(mipmapped, 0.02) << singleLevel;
    EXPECT_GT(singleLevel, 0.3) << mipmapped;
}

TEST_F(TextureGlTest, SharedTextureIsFreedOnceTheLastMaterialLetsGo) {
    OrvTexture* shared = checker("shared", kRed, kWhite);
    OrvMaterial* first = material("first");
    OrvMaterial* second = material("second");
    first->setTexture(0, shared);
    second->setTexture(0, shared);
    frame({box(first)});
    const GLuint name = shared->getTextureData()->glName;
    ASSERT_EQ(glIsTexture(name), GL_TRUE);
    nodes->destroyNode(first);
    EXPECT_EQ(glIsTexture(name), GL_TRUE);
    nodes->destroyNode(second);
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureGlTest, FileThatCannotBeLoadedDrawsUntextured) {
    OrvMesh* plain = box(material("plain"));
    const OrvPicture untextured = frame({plain});
    nodes->destroyNode(plain);
    OrvMaterial* m = material("broken");
    const std::string path = log.dir() + "/broken.png";
    ASSERT_TRUE(orvWriteFile(path, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0}));
    EXPECT_EQ(m->setTexture(0, path.c_str()), -1);
    EXPECT_EQ(differingPixels(frame({box(m)}), untextured), 0);
}

TEST_F(TextureGlTest, BackBufferWrittenAsPngReadsBackAsDrawn) {
    renderer->setViewport(0, 0, 640, 480);
    OrvMaterial* m = material("checker");
    m->setTexture(0, checker("red_white", kRed, kWhite));
    const OrvPicture drawn = frame({box(m)});
    OrvImage shot = {};
    ASSERT_EQ(renderer->readBackBuffer(&shot), 0);
    const std::string path = log.dir() + "/shot.png";
    ASSERT_EQ(OrvPngCodec::write(path.c_str(), &shot), 0);
    OrvImage back = {};
    ASSERT_EQ(OrvImageLoader::loadFile(path.c_str(), &back), 0);
    ASSERT_EQ(back.width, 640);
    ASSERT_EQ(back.height, 480);
    int differing = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            differing += std::memcmp(back.at(x, 479 - y), drawn.at(x, y), 3) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    shot.release();
    back.release();
}

}  // namespace
