// Names matched without regard to letter case on a file system that tells case apart.
#include "FolderNames.h"
#include "LibraryTestSupport.h"
#include "Thumbnail.h"

using namespace kelvara;
using namespace kelvara::test;

TEST(FolderNames, ResolveNoCaseAndThumbnailPaths) {
    TempFolder tree;
    tree.Write("Air/Texture.X/Thumbnail.JPG", "x");
    tree.Write("Air/texture/thumbnail.jpg", "y");
    tree.Write("Air/Model.air", "z");
    const std::pair<const char*, const char*> cases[] = {
        {"air/texture.x/thumbnail.jpg", "Air/Texture.X/Thumbnail.JPG"},
        {"AIR/TEXTURE./THUMBNAIL.JPG", "Air/texture/thumbnail.jpg"}, // "texture." is "texture"
        {"Air/model.AIR", "Air/Model.air"},
        {"air/missing/model.air", "Air/missing/model.air"}, // as written below a missing folder
        {"Air/../air/Model.air", "Air/../Air/Model.air"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(ResolveNoCase(tree.File(in)), tree.File(out)) << in;
    }

    tree.Write("A/Texture.Red/THUMBNAIL.jpg", "r");
    tree.Write("A/texture/thumbnail.jpg", "d");
    tree.Write("A/Pics/Club.jpg", "c");
    // texture, ui_thumbnailfile, the picture shown
    const std::tuple<const char*, const char*, const char*> thumbnails[] = {
        {"red", "", "A/Texture.Red/THUMBNAIL.jpg"},
        {"", "", "A/texture/thumbnail.jpg"},
        {"red", "pics\\club.JPG", "A/Pics/Club.jpg"},
        {"blue", "", "A/texture.blue/thumbnail.jpg"}};
    for (const auto& [texture, thumbnailFile, path] : thumbnails) {
        Variation variation;
        variation.texture = texture;
        variation.thumbnailFile = thumbnailFile;
        EXPECT_EQ(ThumbnailPath(tree.File("A"), variation), tree.File(path)) << texture;
    }
}
