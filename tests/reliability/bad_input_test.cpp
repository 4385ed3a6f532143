// Bad input a program can hand the engine, and what the engine does with it.
// docs/reliability.md lists every case with the test that shows it; cases
// that other folders' tests already cover are named there too.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "orv_create_node.h"
#include "orv_engine_test.h"
#include "orvane.h"

namespace {

constexpr char kVertexFileLine[] =
    "OrvGpuShader::loadVertexShaderFromFile(): Could not load vertex shader source file [";

class BadInputTest : public OrvEngineTest {
  protected:
    OrvGpuShader* newShader() { return createNode<OrvGpuShader>(ORV_NODE_GPU_SHADER); }

    // A file of size bytes that takes no room on disk, ending in the text.
    std::string sparseFile(const char* name, off_t size, const std::string& tail) {
        const std::string path = log.dir() + "/" + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        EXPECT_EQ(ftruncate(fileno(file), size - static_cast<off_t>(tail.size())), 0);
        EXPECT_EQ(std::fseek(file, 0, SEEK_END), 0);
        std::fwrite(tail.data(), 1, tail.size(), file);
        std::fclose(file);
        return path;
    }
};

// Whatever the path names, only a regular file is read; anything else is
// refused with the loader's warning, before any renderer call.
TEST_F(BadInputTest, ShaderPathsThatAreNoReadableFileAreRefused) {
    const std::string folder = log.dir();
    ASSERT_EQ(mkfifo((folder + "/fifo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir((folder + "/folder").c_str(), 0700), 0);
    ASSERT_EQ(symlink((folder + "/folder").c_str(), (folder + "/link").c_str()), 0);
    const std::string paths[] = {folder + "/missing.glsl",
                                 folder + "/folder",
                                 folder + "/link",
                                 folder + "/fifo",
                                 "/dev/zero",
                                 folder + "/" + std::string(5000, 'p'),
                                 ""};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path.substr(0, 80));
        OrvGpuShader* shader = newShader();
        recorder.clear();
        EXPECT_EQ(shader->loadVertexShaderFromFile(path.c_str()), -1);
        EXPECT_EQ(shader->getProgram()->vertexSource, nullptr);
        EXPECT_EQ(recorder.count("createGpuVertexShader"), 0);
        // A path longer than the log's line is cut with the rest of the line.
        const std::string line = log.messages().back();
        EXPECT_EQ(line, (std::string(kVertexFileLine) + path + "].").substr(0, line.size()));
        EXPECT_GT(line.size(), sizeof(kVertexFileLine));
        OrvSceneNodeMgr::getInstance()->destroyNode(shader);
    }
    OrvGpuShader* shader = newShader();
    EXPECT_EQ(shader->loadPixelShaderFromFile(nullptr), -1);
    EXPECT_EQ(log.messages().back(),
              "OrvGpuShader::loadPixelShaderFromFile(): Could not load pixel shader source file "
              "[(null)].");
}

TEST_F(BadInputTest, AHundredMegabyteShaderFileIsHeldWhole) {
    const off_t size = 100 << 20;
    const std::string path = sparseFile("huge.glsl", size, "void main() {}");
    OrvGpuShader* shader = newShader();
    EXPECT_EQ(shader->loadVertexShaderFromFile(path.c_str()), 0);
    const OrvGpuProgram* program = shader->getProgram();
    ASSERT_EQ(program->vertexSourceLength, size + 1);
    EXPECT_STREQ(program->vertexSource + size - 14, "void main() {}");
    EXPECT_EQ(recorder.count("createGpuVertexShader"), 1);
}

// The held source counts its length in an int: a file of 2 GiB or more is
// refused from its size alone, without reading it.
TEST_F(BadInputTest, AShaderFileOfTwoGigabytesIsRefusedUnread) {
    const std::string path = sparseFile("too_large.glsl", off_t{1} << 31, "x");
    OrvGpuShader* shader = newShader();
    EXPECT_EQ(shader->loadPixelShaderFromFile(path.c_str()), -1);
    EXPECT_EQ(shader->getProgram()->pixelSource, nullptr);
    EXPECT_EQ(
        log.messages().back(),
        "OrvGpuShader::loadPixelShaderFromFile(): Shader source file [" + path + "] is too large.");
}

// Every fixed name buffer keeps the first characters that fit, terminated.
TEST_F(BadInputTest, NamesLongerThanEveryBufferAreCut) {
    const std::string longName(10000, 'n');
    const std::string kept(127, 'n');
    OrvMesh* mesh = createNode<OrvMesh>(ORV_NODE_MESH, longName.c_str());
    EXPECT_EQ(mesh->getName(), kept);
    EXPECT_EQ(mesh->getMeshData()->name, kept);
    OrvGpuShader* shader = newShader();
    shader->setName(longName.c_str());
    EXPECT_EQ(shader->getProgram()->name, kept);
    OrvScene* scene = OrvSceneMgr::getInstance()->createScene(longName.c_str());
    EXPECT_EQ(scene->getName(), kept);
    mesh->setTag(longName.c_str());
    EXPECT_STREQ(mesh->getTag(), "nnnn");

    // Lookups compare the part a name keeps, so the long name finds its own.
    OrvMaterial* material = OrvMaterialMgr::getInstance()->getMaterial(longName.c_str());
    EXPECT_EQ(material->getName(), kept);
    EXPECT_EQ(OrvMaterialMgr::getInstance()->getMaterial(longName.c_str()), material);
    shader->setUniform1f(longName.c_str(), 1.0f);
    shader->setUniform1f((kept + "other ending").c_str(), 2.0f);
    shader->setAttributeLocation(longName.c_str(), 3);
    const OrvGpuProgram* program = shader->getProgram();
    ASSERT_EQ(program->uniformCount, 1);
    EXPECT_EQ(program->uniforms[0].name, kept);
    EXPECT_EQ(program->uniforms[0].floatValues[0], 2.0f);
    EXPECT_EQ(program->attributes[0].name, kept);
}

uint32_t indexOf(const OrvMeshData* data, uint64_t at) {
    return data->indexFormat == OrvMeshData::INDICES_16 ? data->indices16[at] : data->indices32[at];
}

// Sizes are not checked: a generator given NaN or infinity makes the geometry
// it makes for any size, and its coordinates carry the value.
TEST_F(BadInputTest, GeneratorSizesThatAreNoNumbersStillGiveWholeGeometry) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float max = std::numeric_limits<float>::max();
    typedef std::function<void(OrvMesh*, float)> Generate;
    const Generate generators[] = {
        [](OrvMesh* mesh, float size) { mesh->createPlane(size, -size, 3, 2); },
        [](OrvMesh* mesh, float size) { mesh->createTorus(size, size, 5); },
        [](OrvMesh* mesh, float size) { mesh->createBox(size, 1.0f, -size, 3, 2, 4); },
    };
    for (const Generate& generate : generators) {
        OrvMesh* mesh = createNode<OrvMesh>(ORV_NODE_MESH);
        OrvMeshData* data = mesh->getMeshData();
        generate(mesh, 1.0f);
        const uint32_t vertices = data->vertexCount;
        const uint32_t faces = data->faceCount;
        for (float size : {nan, inf, -inf, max}) {
            SCOPED_TRACE(size);
            generate(mesh, size);
            mesh->update(0.0f);
            ASSERT_EQ(data->vertexCount, vertices);
            ASSERT_EQ(data->faceCount, faces);
            for (uint64_t at = 0; at < 3ull * faces; ++at) {
                ASSERT_LT(indexOf(data, at), vertices);
            }
        }
    }
}

// Null for any pointer a public operation takes: refused or ignored, with the
// result each operation documents, and nothing read through it.
TEST_F(BadInputTest, NullArgumentsAreRefusedOrIgnored) {
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    OrvMaterialMgr* materials = OrvMaterialMgr::getInstance();
    OrvMesh* mesh = createNode<OrvMesh>(ORV_NODE_MESH, "mesh");
    mesh->createPlane(1.0f, 1.0f, 2, 2);
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT, "light");
    OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA, "camera");
    OrvMaterial* material = materials->getMaterial("material");
    OrvGpuShader* shader = createNode<OrvGpuShader>(ORV_NODE_GPU_SHADER, "shader");
    OrvScene* scene = OrvSceneMgr::getInstance()->createScene("scene");
    OrvLinkedList list;
    OrvHashTable table;
    OrvLine line;

    struct Case {
        const char* call;
        std::function<bool()> check;
    };
    const Case cases[] = {
        {"OrvLog::write",
         [] {
             OrvLog::getInstance()->write(OrvLog::CRITICAL, nullptr);
             return true;
         }},
        {"OrvMemoryAllocator::_track_heap_free",
         [] { return OrvMemoryAllocator::_track_heap_free(nullptr, nullptr, 0) == 0; }},
        {"OrvMemoryAllocator::setFreeLocation",
         [] {
             OrvMemoryAllocator::setFreeLocation(nullptr, 7);
             OrvMemoryAllocator::release(nullptr);
             return true;
         }},
        {"OrvLinkedList::remove", [&] { return list.remove(nullptr) == nullptr; }},
        {"OrvHashTable::insert(name)",
         [&] { return table.insert(static_cast<const char*>(nullptr), 1) == 0; }},
        {"OrvHashTable::find(name)",
         [&] { return table.find(static_cast<const char*>(nullptr)) == 0; }},
        {"OrvHashTable::remove(name)",
         [&] { return table.remove(static_cast<const char*>(nullptr)) == 0; }},
        {"OrvHashTable::hashString", [&] { return table.hashString(nullptr) == 0; }},
        {"OrvSceneNodeMgr::createNode", [&] { return nodes->createNode(nullptr, "x") == nullptr; }},
        {"OrvSceneNodeMgr::registerCreator",
         [&] {
             nodes->registerCreator(nullptr);
             nodes->unregisterCreator(nullptr);
             return true;
         }},
        {"OrvSceneNodeMgr::destroyNode",
         [&] {
             nodes->destroyNode(nullptr);
             return nodes->isNode(nullptr) == 0;
         }},
        {"OrvSceneNode::setName",
         [&] {
             mesh->setName(nullptr);
             mesh->setTag(nullptr);
             return std::string(mesh->getName()) == "mesh";
         }},
        {"OrvSceneNode::detachAllChildren",
         [&] {
             mesh->detachAllChildren(nullptr);
             mesh->destroyAllChildren(nullptr);
             return true;
         }},
        {"OrvScene::addObject",
         [&] {
             const int count = scene->getObjects()->getCount();
             scene->setName(nullptr);
             scene->addObject(nullptr);
             return scene->getObjects()->getCount() == count &&
                    std::string(scene->getName()) == "scene";
         }},
        {"OrvSceneObject::setPosition",
         [&] {
             mesh->setPosition(nullptr);
             return true;
         }},
        {"OrvCamera::setLookAt",
         [&] {
             camera->setLookAt(nullptr, nullptr, nullptr);
             return true;
         }},
        {"OrvLight::setDiffuse",
         [&] {
             light->setAmbient(nullptr);
             light->setDiffuse(nullptr);
             light->setSpecular(nullptr);
             light->setName(nullptr);
             return std::string(light->getName()) == "light";
         }},
        {"OrvLine::setPoint",
         [&] {
             line.setPoint(0, nullptr);
             line.setColor(1, nullptr);
             return true;
         }},
        {"OrvRenderState::addMaterial",
         [&] {
             OrvRenderState* state = mesh->getRenderState();
             const int count = state->getMaterialCount();
             state->addMaterial(static_cast<OrvMaterial*>(nullptr));
             state->removeMaterial(nullptr);
             const bool ignored = state->getMaterialCount() == count;
             // A null name asks the material manager for a new material.
             state->addMaterial(static_cast<const char*>(nullptr));
             return ignored && state->getMaterialCount() == count + 1 &&
                    state->hasMaterial(nullptr) == 0;
         }},
        {"OrvMaterial::setAmbient",
         [&] {
             material->setAmbient(nullptr);
             material->setDiffuse(nullptr);
             material->setSpecular(nullptr);
             material->setGpuShader(nullptr);
             material->bindShader();
             material->unbindShader();
             return true;
         }},
        {"OrvMaterialMgr::findByName",
         [&] {
             materials->removeMaterial(nullptr);
             return materials->findByName(nullptr) == nullptr;
         }},
        {"OrvMesh::setMaterial",
         [&] {
             mesh->setMaterial(static_cast<const char*>(nullptr), 0, 1);
             mesh->setMaterial(static_cast<OrvMaterial*>(nullptr), 0, 1);
             return true;
         }},
        {"OrvMeshGeometry::groupByMaterial",
         [&] { return OrvMeshGeometry::groupByMaterial(mesh->getMeshData(), nullptr, 3) == 0; }},
        {"OrvMeshGeometry::computeNormals",
         [] {
             OrvMeshGeometry::computeNormals(nullptr);
             return true;
         }},
        {"OrvGpuShader::setUniform4fv",
         [&] {
             shader->setUniform4fv("v", nullptr);
             shader->setUniformMatrix4(nullptr, nullptr);
             shader->setAttributeLocation(nullptr, 1);
             return shader->getProgram()->uniformCount == 0;
         }},
        {"OrvGpuShader::loadVertexShaderFromMemory",
         [&] { return shader->loadVertexShaderFromMemory(nullptr, 10) == -1; }},
        {"OrvMain::setCurrentRenderContext",
         [] {
             OrvMain* engine = OrvMain::getInstance();
             OrvRenderContext* current = engine->getCurrentRenderContext();
             engine->setCurrentRenderContext(nullptr);
             return engine->getCurrentRenderContext() == current;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_TRUE(c.check());
    }
}

}  // namespace
