#include "Generate.h"

#include "ModelViews.h"
#include "Models.h"
#include "Pictures.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace tavren {

namespace {

constexpr int JpegQuality = 95;

class AssetWriter {
public:
    explicit AssetWriter(std::filesystem::path root) : root(std::move(root)) {}

    void Text(const std::filesystem::path& relative, const std::string& text) {
        std::ofstream out(Prepare(relative), std::ios::binary);
        out << text;
        if (!out) {
            throw PictureFileError("cannot write " + (root / relative).string());
        }
    }
    void Png(const std::filesystem::path& relative, const Picture& picture) {
        WritePictureAsPng(Prepare(relative), picture);
    }
    void Bmp(const std::filesystem::path& relative, const Picture& picture) {
        WritePictureAsBmp(Prepare(relative), picture);
    }
    void Jpeg(const std::filesystem::path& relative, const Picture& picture) {
        WritePictureAsJpeg(Prepare(relative), picture, JpegQuality);
    }
    // A picture the front end carries: the lossless master and the JPEG beside it.
    void Carried(const std::string& stem, const Picture& picture) {
        Png("pictures/" + stem + ".png", picture);
        Jpeg("pictures/" + stem + ".jpg", picture);
    }
    void Icon(const std::filesystem::path& relative, const std::vector<IconImage>& images) {
        WriteIcon(Prepare(relative), images);
    }

    std::vector<std::filesystem::path> Written() const { return written; }

private:
    std::filesystem::path Prepare(const std::filesystem::path& relative) {
        const std::filesystem::path full = root / relative;
        std::filesystem::create_directories(full.parent_path());
        written.push_back(relative);
        return full;
    }

    std::filesystem::path root;
    std::vector<std::filesystem::path> written;
};

std::string Numbered(const char* prefix, int index) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%02d", prefix, index);
    return text;
}

Picture Enlarge(const Picture& source, int factor) {
    Picture result(source.Width() * factor, source.Height() * factor);
    for (int y = 0; y < result.Height(); ++y) {
        for (int x = 0; x < result.Width(); ++x) {
            result.At(x, y) = source.At(x / factor, y / factor);
        }
    }
    return result;
}

Picture StackVertically(const std::vector<Picture>& pictures) {
    int height = 0;
    for (const Picture& p : pictures) {
        height += p.Height();
    }
    Picture result(pictures.front().Width(), height);
    int top = 0;
    for (const Picture& p : pictures) {
        Paste(result, p, 0, top);
        top += p.Height();
    }
    return result;
}

struct AllPictures {
    std::vector<Picture> Caustics;
    Picture Background;
    Picture FishSkin;
    Picture Sand;
    Picture Preview;
    ButtonSkins Buttons;
    Picture RadioOff;
    Picture RadioOn;
    IconImage Icon;
};

Picture IconOnGrey(const IconImage& icon, Colour backdrop) {
    Picture picture(icon.Size, icon.Size, backdrop);
    for (int y = 0; y < icon.Size; ++y) {
        for (int x = 0; x < icon.Size; ++x) {
            const uint8_t* p = &icon.Rgba[(static_cast<size_t>(y) * icon.Size + x) * 4];
            picture.Blend(x, y, Rgb(p[0], p[1], p[2]), p[3] / 255.0f);
        }
    }
    return picture;
}

// Every picture on one sheet, so that a reader of the repository sees them at a glance.
Picture MakeContactSheet(const AllPictures& all) {
    constexpr int Gap = 12;
    const Colour backdrop = Rgb(44, 46, 52);
    Picture sheet(1024 + 2 * Gap, 1100, backdrop);
    int top = Gap;
    Paste(sheet, all.Background, Gap, top);
    top += all.Background.Height() + Gap;

    Paste(sheet, all.FishSkin, Gap, top);
    Paste(sheet, all.Sand, Gap + all.FishSkin.Width() + Gap, top);
    const int left = Gap + all.FishSkin.Width() + Gap + all.Sand.Width() + Gap;
    Paste(sheet, all.Preview, left, top);
    Paste(sheet, Enlarge(IconOnGrey(all.Icon, backdrop), 2), left + all.Preview.Width() + Gap, top);
    Paste(sheet, Enlarge(all.RadioOff, 3), left + all.Preview.Width() + Gap, top + 76);
    Paste(sheet, Enlarge(all.RadioOn, 3), left + all.Preview.Width() + Gap + 44, top + 76);
    const Picture* skins[] = {&all.Buttons.Normal, &all.Buttons.HighLight, &all.Buttons.Selected,
                              &all.Buttons.Pressed, &all.Buttons.Disable};
    const int skinsTop = top + all.Preview.Height() + Gap;
    for (size_t i = 0; i < std::size(skins); ++i) {
        Paste(sheet, Enlarge(*skins[i], 2), left + static_cast<int>(i % 2) * 140,
              skinsTop + static_cast<int>(i / 2) * 58);
    }
    top = std::max(top + all.FishSkin.Height(), skinsTop + 3 * 58) + Gap;

    constexpr int PerRow = 8;
    for (size_t i = 0; i < all.Caustics.size(); ++i) {
        const int column = static_cast<int>(i) % PerRow;
        const int row = static_cast<int>(i) / PerRow;
        Paste(sheet, all.Caustics[i], Gap + column * 128, top + row * 128);
    }
    top += 4 * 128 + Gap;
    return Crop(sheet, 0, 0, sheet.Width(), top);
}

} // namespace

std::vector<std::filesystem::path> GenerateAssets(const std::filesystem::path& root) {
    AssetWriter writer(root);
    const ModelText fish = BuildFishModel();
    const ModelText terrain = BuildTerrainModel();
    writer.Text("models/Tavren.pp1", WriteModelText(fish));
    writer.Text("models/Tavren.pp2", WriteModelText(terrain));

    AllPictures all;
    all.Caustics = PaintCaustics();
    all.Background = PaintBackground();
    all.FishSkin = PaintFishSkin();
    all.Sand = PaintSand();
    all.Preview = PaintPreview(all.FishSkin);
    all.Buttons = PaintButtonSkins();
    all.RadioOff = PaintRadioMark(false);
    all.RadioOn = PaintRadioMark(true);
    all.Icon = PaintIcon(32);

    for (int i = 0; i < CausticFrameCount; ++i) {
        writer.Carried(Numbered("Tavren1", i), all.Caustics[i]);
    }
    writer.Carried(Numbered("Tavren2", 0), all.Background);
    writer.Carried(Numbered("Tavren2", 1), all.FishSkin);
    writer.Carried(Numbered("Tavren2", 2), all.Sand);
    writer.Carried("Preview", all.Preview);

    writer.Bmp("frontend/Normal.bmp", all.Buttons.Normal);
    writer.Bmp("frontend/HighLight.bmp", all.Buttons.HighLight);
    writer.Bmp("frontend/HighLightSelect.bmp", all.Buttons.HighLight);
    writer.Bmp("frontend/Pressed.bmp", all.Buttons.Pressed);
    writer.Bmp("frontend/Disable.bmp", all.Buttons.Disable);
    writer.Bmp("frontend/Selected.bmp", all.Buttons.Selected);
    writer.Bmp("frontend/RadioOff.bmp", all.RadioOff);
    writer.Bmp("frontend/RadioOn.bmp", all.RadioOn);
    writer.Icon("frontend/Tavren.ico", {PaintIcon(48), all.Icon, PaintIcon(16)});

    writer.Png("contact-sheet.png", MakeContactSheet(all));
    writer.Png("previews/fish-side.png", DrawFishSide(fish, all.FishSkin, 1.0f));
    writer.Png("previews/fish-top.png", DrawFishTop(fish, all.FishSkin, 1.0f));
    writer.Png("previews/fish-lit.png", DrawFishLit(fish, all.FishSkin, 7.0f));
    std::vector<Picture> swim;
    for (const float frame : {1.0f, 8.0f, 16.0f, 24.0f}) {
        swim.push_back(DrawFishTop(fish, all.FishSkin, frame));
    }
    writer.Png("previews/fish-swim.png", StackVertically(swim));
    writer.Png("previews/terrain-top.png", DrawTerrainTop(terrain, all.Sand, all.Caustics[0]));
    writer.Png("previews/scene.png",
               DrawScene(fish, terrain,
                         {&all.Background, &all.FishSkin, &all.Sand, &all.Caustics[0]}, 640, 480));
    return writer.Written();
}

} // namespace tavren
