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
    struct Case {
        const char* texture;
        const char* thumbnailFile;
        const char* path;
    };
    const Case thumbnails[] = {
        {"red", "", "A/Texture.Red/THUMBNAIL.jpg"},
        {"", "", "A/texture/thumbnail.jpg"},
        {"red", "pics\\club.JPG", "A/Pics/Club.jpg"},
        {"blue", "", "A/texture.blue/thumbnail.jpg"},
    };
    for (const Case& c : thumbnails) {
        Variation variation;
        variation.texture = c.texture;
        variation.thumbnailFile = c.thumbnailFile;
        EXPECT_EQ(ThumbnailPath(tree.File("A"), variation), tree.File(c.path)) << c.texture;
    }
}
