#include "Chrome.h"
#include "appkit/Controls.h"
#include "appkit/Layout.h"

namespace appkit {

void ImageView::draw(const Rect& bounds) {
  if (image_) {
    image_->drawInRect(bounds);
  } else if (picture_) {
    graphics::SavedState saved;
    picture_(bounds);
  } else {
    View::draw(bounds);
  }
}

void ImageView::configure(const LayoutItem& item) {
  View::configure(item);
  picture_ = item.picture;
}

}  // namespace appkit
