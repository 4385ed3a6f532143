#include "scene/orv_texture.h"

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "core/orv_string.h"
#include "render/orv_image.h"
#include "render/orv_image_loader.h"
#include "render/orv_renderer.h"
#include "render/orv_texture_data.h"
#include "scene/orv_texture_mgr.h"

OrvTexture::OrvTexture() : pending(nullptr), textureData(nullptr), users(0) {
    addKind(ORV_KIND_TEXTURE);
    textureData = ORV_NEW OrvTextureData;
    if (textureData == nullptr) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING, "OrvTexture::OrvTexture(): node [%d] has no texture data.", getId());
    }
    reset();
    setDefaultName("texture");
}

OrvTexture::~OrvTexture() {
    // A texture destroyed by other hands than the manager's must not stay
    // listed there.
    OrvTextureMgr::forget(this);
    OrvTexture::release();
    if (textureData != nullptr) {
        ORV_DELETE(textureData);
        textureData = nullptr;
    }
}

void OrvTexture::setName(const char* newName) {
    OrvSceneNode::setName(newName);
    if (newName != nullptr && textureData != nullptr) {
        orvCopyBounded(textureData->name, sizeof(textureData->name), newName);
    }
}

void OrvTexture::reset() {
    if (textureData != nullptr) {
        const uint32_t name = textureData->glName;
        const int32_t width = textureData->width;
        const int32_t height = textureData->height;
        textureData->setDefaults();
        textureData->glName = name;
        textureData->width = width;
        textureData->height = height;
    }
    setFlag(ORV_FLAG_INITIALISED, 1);
    setFlag(ORV_FLAG_PARAMS_CHANGED, 1);
}

void OrvTexture::release() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer != nullptr && textureData != nullptr) {
        renderer->destroyTexture(textureData);
    }
    if (pending != nullptr) {
        pending->release();
        ORV_DELETE(pending);
        pending = nullptr;
    }
}

void OrvTexture::apply() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (pending == nullptr || renderer == nullptr || textureData == nullptr) {
        return;
    }
    renderer->createTexture(textureData, pending);
    pending->release();
    ORV_DELETE(pending);
    pending = nullptr;
    setFlag(ORV_FLAG_PARAMS_CHANGED, 0);
}

OrvImage* OrvTexture::freshPicture() {
    if (pending == nullptr) {
        pending = ORV_NEW OrvImage();
    }
    return pending;
}

int OrvTexture::keepDecoded(int result) {
    if (result != 0 && pending != nullptr) {
        ORV_DELETE(pending);
        pending = nullptr;
    }
    return result;
}

int OrvTexture::loadFromFile(const char* path) {
    OrvImage* picture = freshPicture();
    if (picture == nullptr) {
        return OrvImageLoader::loadFile(path, nullptr);
    }
    return keepDecoded(OrvImageLoader::loadFile(path, picture));
}

int OrvTexture::loadFromMemory(const void* data, size_t size) {
    OrvImage* picture = freshPicture();
    if (picture == nullptr) {
        return OrvImageLoader::loadMemory(data, size, getName(), nullptr);
    }
    return keepDecoded(OrvImageLoader::loadMemory(data, size, getName(), picture));
}

int OrvTexture::takeImage(OrvImage* image) {
    if (image == nullptr || image->isEmpty() || freshPicture() == nullptr) {
        return -1;
    }
    pending->release();
    *pending = *image;
    *image = OrvImage{};
    return 0;
}

void OrvTexture::setFilters(int minFilter, int magFilter) {
    if (textureData != nullptr) {
        textureData->minFilter = minFilter;
        textureData->magFilter = magFilter;
    }
}

void OrvTexture::setWrap(int wrapS, int wrapT) {
    if (textureData != nullptr) {
        textureData->wrapS = wrapS;
        textureData->wrapT = wrapT;
    }
}

void OrvTexture::setMipmaps(int on) {
    if (textureData != nullptr) {
        textureData->mipmaps = on != 0 ? 1 : 0;
    }
}

bool OrvTexture::isUploaded() const {
    return textureData != nullptr && textureData->glName != 0;
}
