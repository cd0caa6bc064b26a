// The OpenGL half of TModel: layer set-up, skinned geosets as vertex arrays,
// and the frustum read-back for the camera.
#include "assets/FDisplay.h"

#include "assets/FTextures.h"
#include "shell/FLogs.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

// Skinned positions of the geoset being drawn; kept to spare an allocation per draw.
std::vector<TVec3> skinned;

int textureUnits()
{
    static GLint units = 0;
    if (units == 0) {
        glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
        units = std::max(units, 1);
    }
    return units;
}

void setUpLayers(const MdxModel& m, const GeosetChunk& geoset, const MaterialChunk& material,
                 const std::int64_t teamColor[3], std::size_t layerCount)
{
    const bool texCoordsComplete = geoset.texCoords.size() >= geoset.vertices.size();
    for (std::size_t k = 0; k < layerCount; ++k) {
        const LayerChunk& layer = material.layers[k];
        glClientActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(k));
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(k));
        if (texCoordsComplete)
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnable(GL_TEXTURE_2D);
        switch (layer.filterMode) {
        case FilterTransparent:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GREATER, 0.8f);
            break;
        case FilterBlend:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            if (k > 0)
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
            break;
        case FilterAdditive:
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            break;
        default:
            break;
        }
        if (layer.textureId >= 0 && static_cast<std::size_t>(layer.textureId) < m.textures.size()) {
            const TextureChunk& texture = m.textures[static_cast<std::size_t>(layer.textureId)];
            switch (texture.replaceableId) {
            case ReplaceNone:
                BindTexture(texture.glTexture);
                break;
            case ReplaceTeamColor:
                glColor3f(static_cast<float>(teamColor[0]) / 10000.0f, static_cast<float>(teamColor[1]) / 10000.0f,
                          static_cast<float>(teamColor[2]) / 10000.0f);
                BindTexture(BlankTexture);
                break;
            case ReplaceTeamGlow:
                BindTexture(TransparentTexture);
                glEnable(GL_BLEND);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
                logLine(std::to_string(material.layers.size()));
                break;
            default:
                break;
            }
        }
        if (texCoordsComplete)
            glTexCoordPointer(2, GL_FLOAT, 0, geoset.texCoords.data());
    }
}

void restoreLayers(std::size_t layerCount)
{
    glColor3f(1, 1, 1);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    for (std::size_t k = layerCount; k-- > 0;) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(k));
        glClientActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(k));
        glDisable(GL_TEXTURE_2D);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    }
}

}  // namespace

void TModel::DrawGeosets(bool picking)
{
    const MdxModel& m = model();
    const TVec3 at{static_cast<float>(position[0]) / 10000.0f, static_cast<float>(position[1]) / 10000.0f,
                   static_cast<float>(position[2]) / 10000.0f};
    for (std::size_t g = 0; g < m.geosets.size(); ++g) {
        const GeosetChunk& geoset = m.geosets[g];
        const TExtent& e = geoset.extent;
        const TVec3 centre{(e.minimum.x + e.maximum.x) / 2 + at.x, (e.minimum.y + e.maximum.y) / 2 + at.y,
                           (e.minimum.z + e.maximum.z) / 2 + at.z};
        if (!sphereInFrustum(ViewFrustum, centre, e.boundsRadius) || !(GeosetAlpha(static_cast<int>(g), picking) > 0))
            continue;
        glEnableClientState(GL_VERTEX_ARRAY);
        std::size_t layerCount = 0;
        if (!picking && geoset.materialId >= 0 && static_cast<std::size_t>(geoset.materialId) < m.materials.size()) {
            const MaterialChunk& material = m.materials[static_cast<std::size_t>(geoset.materialId)];
            layerCount = std::min(material.layers.size(), static_cast<std::size_t>(textureUnits()));
            setUpLayers(m, geoset, material, teamColor, layerCount);
        }
        SkinGeoset(static_cast<int>(g), skinned);
        glVertexPointer(3, GL_FLOAT, 0, skinned.data());
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(3 * geoset.triangles.size()), GL_UNSIGNED_SHORT,
                       geoset.triangles.data());
        if (!picking)
            restoreLayers(std::max<std::size_t>(layerCount, 1));
    }
}

void ExtractFrustum()
{
    TMatrix projection, modelview;
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    ViewFrustum = frustumOf(projection, modelview);
}
