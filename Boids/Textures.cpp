#include "Textures.h"

#include "MessageSink.h"

namespace tavren {

namespace {

// A picture becomes a texture, a failure a message.
void UploadOrReport(const PictureResult& result, TextureName& texture) {
    if (const auto* failure = std::get_if<PictureFailure>(&result)) {
        RendererMessages().ShowMessage(failure->Text, failure->Caption);
        return;
    }
    const Picture& picture = std::get<Picture>(result);
    const GLenum format = picture.Format == PixelFormat::Rgba ? GL_RGBA : GL_RGB;
    texture = MakeTexture(picture.Width, picture.Height, format, picture.Pixels.data(),
                          picture.RowAlignment);
}

} // namespace

void LoadTexture(const std::string& fileName, TextureName& texture) {
    if (const auto result = ReadPictureFile(fileName)) {
        UploadOrReport(*result, texture);
    }
}

void LoadBmpFile(const std::string& fileName, TextureName& texture) {
    UploadOrReport(ReadBmpFile(fileName), texture);
}

void LoadJpegFile(const std::string& fileName, TextureName& texture) {
    UploadOrReport(ReadJpegFile(fileName), texture);
}

void LoadTgaFile(const std::string& fileName, TextureName& texture) {
    UploadOrReport(ReadTgaFile(fileName), texture);
}

TextureName MakeTexture(uint16_t width, uint16_t height, GLenum format, const uint8_t* pixels,
                        int rowAlignment) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

    // The mipmap builder reads the rows with the unpack alignment; a tightly packed 24-bit
    // picture of an odd width would otherwise come out skewed and be read past its end.
    GLint savedAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, rowAlignment);
    const GLint internalFormat = format == GL_RGBA ? GL_RGBA : 3;
    gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, width, height, format, GL_UNSIGNED_BYTE,
                      pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
    return name;
}

} // namespace tavren
