// The GL half of the ground: the atlas and the vertex-array draw.
#include "world/FTerrain.h"

#include "assets/FDisplay.h"
#include "assets/FTextures.h"

#include <GL/gl.h>

#include <cstdlib>

void InitTerrain()
{
    TerrainTexture = LoadTexture(GroundTile.path);
    // The pattern needs no agreement between machines: any seed will do.
    std::mt19937 random(static_cast<unsigned>(std::rand()));
    BuildTerrain(Squares, GroundTile, random);
}

void DrawTerrain()
{
    VisibleTerrainIndices(ViewFrustum, TerrainIndices);
    if (TerrainIndices.empty() || Squares.vertices.empty())
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    BindTexture(TerrainTexture);
    glColor3f(1, 1, 1);
    glVertexPointer(2, GL_FLOAT, 0, Squares.vertices.data());
    glTexCoordPointer(2, GL_FLOAT, 0, Squares.texCoords.data());
    glDrawElements(GL_QUADS, static_cast<GLsizei>(TerrainIndices.size()), GL_UNSIGNED_INT, TerrainIndices.data());
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
