// The OpenGL 1.1 drawing of models: immediate mode, skinned on the processor.
#include "Animate.h"
#include "ExtOpenGL.h"
#include "Model.h"
#include "OpenGL.h"

namespace tavren {

void TMaterial::Apply() {
    glMaterialfv(GL_FRONT, GL_AMBIENT, Ambient.data());
    glMaterialfv(GL_FRONT, GL_DIFFUSE, Diffuse.data());
    glMaterialfv(GL_FRONT, GL_SPECULAR, Specular.data());
    glMaterialfv(GL_FRONT, GL_EMISSION, Emissive.data());
    glMaterialf(GL_FRONT, GL_SHININESS, Shininess);
    if (Texture == 0) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    // Without the unit switch the base texture goes to whichever unit is active.
    if (Multitexture && glActiveTextureARB != nullptr) {
        glActiveTextureARB(GlTexture0Arb);
        glBindTexture(GL_TEXTURE_2D, Texture);
        glEnable(GL_TEXTURE_2D);
        if (Caustics) {
            glActiveTextureARB(GlTexture1Arb);
            glBindTexture(GL_TEXTURE_2D, CausticTextures[CausticFrame]);
            glEnable(GL_TEXTURE_2D);
            CausticFrame = (CausticFrame + 1) % CausticFrameCount;
        }
        return;
    }
    glBindTexture(GL_TEXTURE_2D, Texture);
    glEnable(GL_TEXTURE_2D);
}

void TModel::Draw() {
    // Without the entry point the coordinates go the single-texture way, to unit 0.
    const bool multitexture = Multitexture && glMultiTexCoord2fARB != nullptr;
    for (size_t mesh = 0; mesh < Meshes.size(); ++mesh) {
        if (TMaterial* material = MeshMaterial(mesh)) {
            material->Apply();
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        glBegin(GL_TRIANGLES);
        ForEachCorner(Meshes[mesh],
                      [&](const TNormal* normal, const TVec& vertex, const TPoint& position) {
                          if (normal != nullptr) {
                              glNormal3f(normal->X, normal->Y, normal->Z);
                          }
                          if (multitexture) {
                              glMultiTexCoord2fARB(GlTexture0Arb, vertex.U, vertex.V);
                              if (Caustics) {
                                  glMultiTexCoord2fARB(GlTexture1Arb, vertex.U, vertex.V);
                              }
                          } else {
                              glTexCoord2f(vertex.U, vertex.V);
                          }
                          glVertex3fv(position.data());
                      });
        glEnd();
    }
}

void TAnimate::Render() {
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    AnimModel->Draw();
    glPopMatrix();
    AdvanceByTimer();
}

} // namespace tavren
