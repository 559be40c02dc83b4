// Images are found by their id among the embedded resources.
#include <gtest/gtest.h>

#include "controls/ImageLoader.h"

namespace sonoria {
namespace {

TEST(ImageLoader, MissingImagesAreNull) {
    QImage image(4, 4, QImage::Format_ARGB32);
    EXPECT_EQ(LoadPngImage(99999, image), 0);
    EXPECT_TRUE(image.isNull());
    EXPECT_TRUE(LoadPngPixmap(99999).isNull());
}

}  // namespace
}  // namespace sonoria
