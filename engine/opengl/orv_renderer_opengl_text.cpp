// Bitmap-font text. fontconfig picks the installed font closest to the face
// name, in bold, at the pixel height; FreeType renders each Latin-1 character
// as a 1-bit glyph, and each glyph is compiled into its own display list as a
// glBitmap, so drawing a line of text is one glCallLists.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>

#include "opengl/orv_renderer_opengl.h"

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_text_info.h"
#include "render/orv_window_info.h"

namespace {
// A font file and the face inside it.
struct FontFile {
    FcPattern* match;
    const char* path;
    int index;
};

// A face that no installed font has is substituted by fontconfig, so this
// fails only when there is no font at all.
bool findFont(const char* faceName, int pixelHeight, FontFile* font) {
    FcPattern* pattern = FcPatternCreate();
    if (faceName[0] != '\0') {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(faceName));
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixelHeight);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    font->match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);

    FcChar8* path = nullptr;
    if (font->match == nullptr ||
        FcPatternGetString(font->match, FC_FILE, 0, &path) != FcResultMatch) {
        return false;
    }
    font->path = reinterpret_cast<const char*>(path);
    font->index = 0;
    FcPatternGetInteger(font->match, FC_INDEX, 0, &font->index);
    return true;
}

// glBitmap reads rows bottom-up with no padding; FreeType writes them
// top-down with its own pitch.
void compileGlyph(FT_GlyphSlot glyph, GLuint list) {
    const FT_Bitmap& bitmap = glyph->bitmap;
    const int rowBytes = (static_cast<int>(bitmap.width) + 7) / 8;
    const int rows = static_cast<int>(bitmap.rows);
    unsigned char* flipped = rows > 0 ? ORV_NEW unsigned char[rowBytes * rows] : nullptr;
    for (int row = 0; row < rows && flipped != nullptr; ++row) {
        std::memcpy(flipped + (rows - 1 - row) * rowBytes, bitmap.buffer + row * bitmap.pitch,
                    rowBytes);
    }
    glNewList(list, GL_COMPILE);
    glBitmap(bitmap.width, rows, static_cast<GLfloat>(-glyph->bitmap_left),
             static_cast<GLfloat>(rows - glyph->bitmap_top),
             static_cast<GLfloat>(glyph->advance.x) / 64.0f, 0.0f, flipped);
    glEndList();
    if (flipped != nullptr) {
        ORV_DELETE_ARRAY(flipped);
    }
}

// Codes the font has no glyph for get no list: calling an undefined list draws
// nothing.
void compileGlyphs(FT_Face face, GLuint base) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    for (int code = 0; code < OrvRendererOpenGL::kFontGlyphs; ++code) {
        const FT_UInt index = FT_Get_Char_Index(face, code);
        if (index != 0 && FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0 &&
            face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            compileGlyph(face->glyph, base + code);
        }
    }
    glPopClientAttrib();
}

bool buildGlyphLists(const FontFile& font, int pixelHeight, GLuint base) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    FT_Face face = nullptr;
    bool built = false;
    if (FT_New_Face(library, font.path, font.index, &face) == 0) {
        if (FT_Set_Pixel_Sizes(face, 0, pixelHeight) == 0) {
            compileGlyphs(face, base);
            built = true;
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return built;
}
}  // namespace

int OrvRendererOpenGL::createFont(OrvTextInfo* text, OrvWindowInfo* window) {
    if (text == nullptr || window == nullptr) {
        return -1;
    }
    // A record that holds a font already gives its lists back first.
    destroyFont(text, window);
    text->faceName[OrvTextInfo::kFaceNameSize - 1] = '\0';
    // Glyphs are rendered and kept for every code, so a huge height costs
    // seconds and gigabytes before anything is drawn.
    if (text->fontHeight > kMaxFontHeight) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvRendererOpenGL::createFont(): font height %d is past "
                                     "the largest, %d pixels; no font made.",
                                     text->fontHeight, kMaxFontHeight);
        return -1;
    }
    const int pixelHeight = std::max(1, text->fontHeight);

    FontFile font = {};
    const bool found = findFont(text->faceName, pixelHeight, &font);
    const GLuint base = found ? glGenLists(kFontLists) : 0;
    const bool built = base != 0 && buildGlyphLists(font, pixelHeight, base);
    if (font.match != nullptr) {
        FcPatternDestroy(font.match);
    }
    if (!built) {
        if (base != 0) {
            glDeleteLists(base, kFontLists);
        }
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvRendererOpenGL::createFont(): no font for face [%s] at "
                                     "%d pixels.",
                                     text->faceName, text->fontHeight);
        return -1;
    }
    text->listBase = base;
    // The glyphs were compiled with pixel-store pushes of their own.
    invalidateStateCache();
    return 0;
}

void OrvRendererOpenGL::destroyFont(OrvTextInfo* text, OrvWindowInfo* window) {
    if (text == nullptr || window == nullptr || text->listBase == 0) {
        return;
    }
    glDeleteLists(text->listBase, kFontLists);
    text->listBase = 0;
}

void OrvRendererOpenGL::drawText(OrvTextInfo* text, OrvWindowInfo* window) {
    if (text == nullptr || window == nullptr || text->listBase == 0) {
        return;
    }
    disable(LIGHTING);
    disable(RESERVED_CAPABILITY);
    flushClientArrays();
    glColor4fv(text->color);

    // A 0 x 0 viewport whose origin is the wanted window position puts the
    // raster position (0, 0, 0, 1) exactly there, whatever the matrices were.
    glPushAttrib(GL_VIEWPORT_BIT | GL_TRANSFORM_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(m_viewport[0] + text->x - 1,
               m_viewport[1] + m_viewport[3] - text->y - text->fontHeight - 1, 0, 0);
    glRasterPos4f(0.0f, 0.0f, 0.0f, 1.0f);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    // The matrix mode comes back from the attribute stack; nothing the
    // state cache keeps is in the groups pushed.
    glPopAttrib();

    // The length is the caller's; it never reaches past the text buffer.
    const int length = std::clamp(text->textLength, 0, OrvTextInfo::kTextSize);
    glPushAttrib(GL_LIST_BIT);
    glListBase(text->listBase);
    glCallLists(length, GL_UNSIGNED_BYTE, text->text);
    glPopAttrib();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
